// Characters into code page 932 without best fit, and wide file names.
#include <cstring>

#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {
constexpr UINT codePage = 932;
}

bool Win32Platform::cp932Char(char32_t c, std::string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    WCHAR wide[2];
    int units = 1;
    if (c < 0x10000) {
        wide[0] = static_cast<WCHAR>(c);
    } else {
        wide[0] = static_cast<WCHAR>(0xD800 + ((c - 0x10000) >> 10));
        wide[1] = static_cast<WCHAR>(0xDC00 + ((c - 0x10000) & 0x3FF));
        units = 2;
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                           sizeof bytes, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    // What the code page calls the same character must read back as it.
    WCHAR back[4];
    const int backUnits = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, back, 4);
    if (backUnits != units || std::memcmp(back, wide, sizeof(WCHAR) * static_cast<std::size_t>(units)) != 0)
        return false;
    out.append(bytes, static_cast<std::size_t>(length));
    return true;
}

bool Win32Platform::charOfCp932(std::string_view bytes, char32_t& c) {
    if (bytes.empty() || bytes.size() > 2) return false;
    WCHAR wide[2];
    const int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), wide, 2);
    if (units != 1) return false;
    c = wide[0];
    return true;
}

bool Win32Platform::wideFileExists(const std::u16string& path) {
    if (path.empty()) return false;
    static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 code units");
    return GetFileAttributesW(reinterpret_cast<const WCHAR*>(path.c_str())) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace platform
