// The command-line tail, taken from the process's full command line. The
// WinMain argument of the MinGW run-time is not used: it compares signed
// chars, so an unquoted program path holding Japanese text ends at its
// first double-byte character and the rest of the path leaks into the tail.
#include "app/win32/command_line.h"

const char* commandLineTail(const char* commandLine) {
    if (!commandLine) return "";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    bool quoted = false;
    while (*p && (quoted || *p > ' ')) {
        if (*p == '"') quoted = !quoted;
        ++p;
    }
    while (*p && *p <= ' ') ++p;
    return reinterpret_cast<const char*>(p);
}
