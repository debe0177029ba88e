// The program's own code page 932 text for the wide ("W") calls that have
// no ANSI form, or whose ANSI form would go through another code page.
#pragma once
#include <string>

#include "platform/win32/code_page.h"
#include "platform/win32/win.h"

namespace win {

// `text` in UTF-16; empty when it is not code page 932.
inline std::wstring widen(const std::string& text) {
    const std::u16string wide = platform::wideFromCp932(text);
    if (wide.find(u'\uFFFD') != std::u16string::npos) return std::wstring();
    return std::wstring(wide.begin(), wide.end());
}

}  // namespace win
