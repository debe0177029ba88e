// The program's own code page 932 text for the wide ("W") calls that have
// no ANSI form, or whose ANSI form would go through another code page.
#pragma once
#include <string>

#include "platform/win32/win.h"

namespace win {

// `text` in UTF-16; empty when it is not code page 932.
inline std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(),
                                          static_cast<int>(text.size()), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        &wide[0], units);
    return wide;
}

}  // namespace win
