// The program a link came from: the one whose window was in front when
// Tavrin was started (or Tavrin's parent process), as a file name and a
// full path in code page 932. A character the code page lacks is '?', which
// no file name holds, so only a wildcard matches it.
#pragma once
#include <string>
#include <string_view>

struct SourceProgram {
    std::string name;  // 260: "OUTLOOK.EXE"; empty when no source is known
    std::string path;  // 520: the full path; empty when only the name is known

    bool known() const { return !name.empty(); }
};

// The source named by `given`: a full path (it holds a '\'), or a file
// name alone. Blanks around it are dropped; an empty text names none.
SourceProgram sourceProgramFrom(std::string_view given);
