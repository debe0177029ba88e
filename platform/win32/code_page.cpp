// The program's conversions between wide text and code page 932, and the
// platform calls built on them: single characters and the code page the
// system reads ANSI text in.
#include "platform/win32/code_page.h"

#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {
constexpr UINT programCodePage = 932;

// One character at `i` (a surrogate pair is one), advancing `i`.
std::u16string_view characterAt(std::u16string_view wide, std::size_t& i) {
    const std::size_t from = i++;
    if (wide[from] >= 0xD800 && wide[from] <= 0xDBFF && i < wide.size() && wide[i] >= 0xDC00 &&
        wide[i] <= 0xDFFF)
        ++i;
    return wide.substr(from, i - from);
}
}  // namespace

bool cp932FromWide(std::u16string_view wide, std::string& out) {
    if (wide.empty()) return true;
    const int units = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const wchar_t* units16 = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = WideCharToMultiByte(programCodePage, WC_NO_BEST_FIT_CHARS, units16, units,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    usedDefault = FALSE;
    if (WideCharToMultiByte(programCodePage, WC_NO_BEST_FIT_CHARS, units16, units, &bytes[0],
                            length, nullptr, &usedDefault) != length ||
        usedDefault)
        return false;
    // What the code page calls the same character must read back as it: a
    // lone surrogate or a character the table folds into another does not.
    if (wideFromCp932(bytes) != wide) return false;
    out += bytes;
    return true;
}

std::string cp932Shown(std::u16string_view wide) {
    std::string out;
    if (cp932FromWide(wide, out)) return out;
    for (std::size_t i = 0; i < wide.size();) {
        if (!cp932FromWide(characterAt(wide, i), out)) out += '?';
    }
    return out;
}

std::u16string wideFromCodePage(unsigned codePage, std::string_view text) {
    if (text.empty()) return std::u16string();
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) return std::u16string();
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), bytes, reinterpret_cast<wchar_t*>(&wide[0]), units);
    return wide;
}

std::u16string wideFromCp932(std::string_view text) { return wideFromCodePage(programCodePage, text); }

bool Win32Platform::cp932Char(char32_t c, std::string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    std::u16string wide;
    if (c < 0x10000) {
        wide += static_cast<char16_t>(c);
    } else {
        wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        wide += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return cp932FromWide(wide, out);
}

unsigned Win32Platform::codePage() { return GetACP(); }

bool Win32Platform::charOfCp932(std::string_view bytes, char32_t& c) {
    if (bytes.empty() || bytes.size() > 2) return false;
    WCHAR wide[2];
    const int units = MultiByteToWideChar(programCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), wide, 2);
    if (units != 1) return false;
    c = wide[0];
    return true;
}

}  // namespace platform
