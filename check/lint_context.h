// What the lint passes share: the text, line numbers, the block headers
// found in it, program look-ups and the findings.
#pragma once
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check/lint.h"
#include "check/system_view.h"

// One line as Tavrin reads it (readSettingsLine): CR and TAB removed, at
// most 517 characters.
struct SettingsLine {
    std::size_t offset = 0;    // where the line starts in the text
    std::size_t consumed = 0;  // its bytes up to and including the LF
    int number = 0;            // 1-based
    std::string text;          // as read
    std::string_view body() const;  // the text without leading spaces
};

// Walks the lines from a line start on, as every settings reader does.
class LineCursor {
public:
    LineCursor(std::string_view text, std::size_t offset, int number)
        : text_(text), offset_(offset), number_(number) {}
    bool next(SettingsLine& line);
    std::size_t offset() const { return offset_; }

private:
    std::string_view text_;
    std::size_t offset_;
    int number_;
};

// A line whose text (after leading spaces) begins with "[" and holds "]".
struct HeaderLine {
    std::size_t bracket = 0;  // offset of its "[" in the text
    std::size_t lineStart = 0;
    int line = 0;
    std::string key;          // "[" up to the first "]"
    std::string text;         // the line as read, leading spaces removed
    bool association = true;  // not [system] or [list]
};

class LintContext {
public:
    explicit LintContext(std::string_view text);

    std::string_view text;      // what Tavrin reads (at most 64 MiB)
    std::string_view searched;  // up to the first NUL: what key searches see

    int lineOf(std::size_t offset) const;
    void add(int line, LintRule rule, std::vector<std::string> args = {});
    // The findings in line order. A file with control characters on many
    // lines is no text: a few findings tell what it looks like, and one
    // more says it is not a text file instead of a flood of the same.
    LintResult finish();

    int controlLines = 0;  // lines holding a control character or NUL

    std::vector<HeaderLine> headers;  // in file order
    // The header line starting at or after `offset`; null when none.
    const HeaderLine* nextHeader(std::size_t offset) const;
    const HeaderLine* headerStartingAt(std::size_t lineStart) const;

    // findProgram with ".exe" tried, and whether the result is a folder;
    // remembered by name (a long block names the same program often).
    struct Lookup {
        bool found = false;
        bool folder = false;
    };
    Lookup lookUpProgram(const std::string& name);

    // The system the browsers are read from; null: none.
    SystemView* system = nullptr;
    // The programs of the browsers found there, as Tavrin names them; read
    // when first asked for.
    struct BrowserProgram {
        std::string fileName, path, browser;  // code page 932
    };
    const std::vector<BrowserProgram>& browserPrograms();

private:
    std::vector<int> linesAtCheckpoint_;  // line number at every 64 KiB
    std::vector<Finding> findings_;
    int problems_ = 0, notes_ = 0;
    std::map<std::string, Lookup> lookups_;
    std::vector<BrowserProgram> browserPrograms_;
    bool browsersRead_ = false;
};

// A line whose first character (after blanks) is ";".
bool isCommentText(std::string_view body);

// The first occurrence of every key as findSettingsKey finds it (npos when
// there is none), all keys in one walk over the text.
std::map<std::string, std::size_t> firstKeyOccurrences(const LintContext& c,
                                                       const std::set<std::string>& keys);

// The passes, in the order they run.
void lintFileBytes(LintContext& c);
void findHeaderLines(LintContext& c);
void lintHeaders(LintContext& c);
void lintHostBlocks(LintContext& c);
void lintSourceBlocks(LintContext& c);
void lintSystemBlock(LintContext& c);
void lintAssociationBlocks(LintContext& c);
void lintListBlock(LintContext& c);

// A program text that was not found and holds a "|": the caption was
// meant to follow, but the separator (with its blanks) is not there.
void lintSeparatorLookalike(LintContext& c, int line, const std::string& program);

// A program that was not found but whose file name is that of a browser
// "browsers" finds: where that browser's program is.
void lintProgramElsewhere(LintContext& c, int line, const std::string& program);

// The "%name%" placeholders of a value or line.
void lintPlaceholders(LintContext& c, int line, std::string_view value);
