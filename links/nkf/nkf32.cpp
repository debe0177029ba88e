// The entry points of the converter library nkf32.dll. Callers load it by
// name and find SetNkfOption and NkfConvert (Windows API calling
// convention, undecorated names from the module-definition file). Pages
// are turned into code page 932; UTF-8 goes through the system's own code
// pages, everything else by arithmetic. Plain C-style code: no exceptions,
// no allocation, nothing of the C++ runtime.
#include <string.h>

#include "links/nkf/nkf_convert.h"
#include "links/nkf/nkf_system.h"
#include "platform/win32/win.h"

extern "C" {

// Shift_JIS output ("-s") is the only kind made, so it is the only option
// accepted; any other is refused and changes nothing.
int WINAPI nkfSetOption(const char* option) {
    return option != nullptr && strcmp(option, "-s") == 0 ? 1 : 0;
}

// Writes `in` as code page 932 into `out`, which the caller made three
// times as long as `in`; never more than that, zero byte included.
void WINAPI nkfConvert(char* out, const char* in) {
    if (out == nullptr) return;
    if (in == nullptr) {
        out[0] = '\0';
        return;
    }
    nkf::convertPage(in, out, nkf::systemUtf8ToCp932);
}

}  // extern "C"
