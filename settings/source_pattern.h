// Patterns of "[from:...]" headers, naming the program a link came from:
// "outlook.exe" names the program by its file name, "*teams*.exe" with '*'
// for any run of characters and '?' for one; a pattern that holds a '\'
// is matched against the program's full path instead
// ("C:\Program Files\Mail\*"). ASCII case is ignored; any other character
// is compared as written.
#pragma once
#include <string>
#include <string_view>

#include "common/source_program.h"

// How a pattern is written, for the settings check as much as for matching.
enum class SourcePatternForm {
    name,       // a file name, perhaps with wildcards
    path,       // it holds a '\': a full path
    empty,      // nothing between two ';' (or only blanks)
    malformed,  // a character no file name holds ('/', ':', '"', '<', '>', '|'),
                // or a path that ends in '\' (a folder)
};

// The form of one pattern (blanks around it are not part of it).
SourcePatternForm sourcePatternForm(std::string_view pattern);

// True when the one pattern names `source`. Empty and malformed patterns
// name none, and a path pattern none whose path is not known.
bool sourceMatchesPattern(const SourceProgram& source, std::string_view pattern);

// True when any pattern of the ';'-separated list names `source`. A source
// that is not known is named by none.
bool sourceMatchesPatternList(const SourceProgram& source, std::string_view list);

// True when every program `later` names is named by `earlier` too, so that
// a block with `later` after one with `earlier` is never chosen by it.
// Answers only what it can tell for sure: false when unsure.
bool sourcePatternCovers(std::string_view earlier, std::string_view later);

// '*' and '?' matching of `subject` by whole characters, ASCII case
// folded.
bool wildcardMatch(std::string_view pattern, std::string_view subject);
