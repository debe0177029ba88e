// Between the wide text Windows speaks and the program's code page 932
// bytes. These are the program's only conversions either way: every name,
// text or path that comes back from Windows wide becomes bytes here, and
// every text of the program that Windows must read in its wide form (fonts,
// boxes, the console) is made here, whatever code page the system uses.
//
// Wide text is held as UTF-16 in std::u16string: the library's wstring
// would bring all of its members into the program, a tenth of its size.
#pragma once
#include <string>
#include <string_view>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

// The same units as Windows takes and gives them.
inline const wchar_t* wideChars(const std::u16string& wide) {
    return reinterpret_cast<const wchar_t*>(wide.c_str());
}
inline std::u16string_view wideView(const wchar_t* zeroEnded) {
    return zeroEnded ? std::u16string_view(reinterpret_cast<const char16_t*>(zeroEnded))
                     : std::u16string_view();
}

// The code page 932 bytes of `wide`, appended to `out`, when the code page
// holds every character: never a look-alike by best fit ("e" for "é", "\"
// for "¥"), and only bytes that read back as the very same characters.
// False, with `out` as it was, when a character is missing.
bool cp932FromWide(std::u16string_view wide, std::string& out);

// `wide` to be shown: each character the code page lacks becomes '?'.
std::string cp932Shown(std::u16string_view wide);

// Text in another code page (another program's ANSI or OEM text) in its
// wide form, read as wideFromCp932 reads its own.
std::u16string wideFromCodePage(unsigned codePage, std::string_view text);

// Code page 932 text in its wide form (a byte that is no character of the
// code page becomes U+FFFD, as the system reads it).
std::u16string wideFromCp932(std::string_view text);

}  // namespace platform
