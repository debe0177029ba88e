// UTF-8 to code page 932 through the system's code pages.
#include "links/nkf/nkf_system.h"

#include <string.h>

#include "links/nkf/nkf_convert.h"
#include "platform/win32/win.h"

namespace nkf {

size_t systemUtf8ToCp932(const char* utf8, size_t length, char* out, size_t* consumed) {
    static_assert(sizeof(WCHAR) == 2, "UTF-16 code units");
    // The system would put U+FFFD for a broken sequence: it is handed the
    // whole characters alone.
    if (length > utf8ChunkBytes) length = utf8ChunkBytes;
    length = wholeUtf8Length(reinterpret_cast<const unsigned char*>(utf8), length);
    *consumed = length;
    if (length == 0) return 0;
    WCHAR wide[utf8ChunkBytes];
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8, static_cast<int>(length), wide,
                                    static_cast<int>(utf8ChunkBytes));
    if (units <= 0) {
        // Whole characters never fail; should the system refuse anyway,
        // each byte stands for what it lost.
        memset(out, '?', length);
        return length;
    }
    units = static_cast<int>(prepareWideForCp932(wide, static_cast<size_t>(units)));
    if (units == 0) return 0;
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, units, out,
                                          static_cast<int>(2 * length), "?", &usedDefault);
    return bytes > 0 ? static_cast<size_t>(bytes) : 0;
}

}  // namespace nkf
