// The command-line tail, taken from the process's full wide command line.
// The WinMain argument of the MinGW run-time is not used: it is the ANSI
// form, which has lost what the code page lacks, and it is cut with signed
// chars, so an unquoted program path holding Japanese text ended at its
// first double-byte character and the rest of the path leaked into it.
#include "app/win32/command_line.h"

const wchar_t* commandLineTail(const wchar_t* commandLine) {
    if (!commandLine) return L"";
    const wchar_t* p = commandLine;
    bool quoted = false;
    while (*p && (quoted || *p > L' ')) {
        if (*p == L'"') quoted = !quoted;
        ++p;
    }
    while (*p && *p <= L' ') ++p;
    return p;
}
