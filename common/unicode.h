// Unicode forms of text that reaches the program from outside its code
// page: UTF-16 as Windows hands it over, UTF-8 (native command lines),
// UTF-7 (the wide section of an Internet shortcut), and the percent-escaped
// UTF-8 that a URL carries.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace unicode {

constexpr char32_t replacement = 0xFFFD;

// The character at `i`, advancing `i` past it. A surrogate pair is one
// character; a surrogate without its partner reads as U+FFFD.
char32_t next(std::u16string_view text, std::size_t& i);

// Appends the UTF-16 form of `c` (two units above U+FFFF).
void appendUtf16(std::u16string& out, char32_t c);

// UTF-8 as UTF-16. Each byte that does not begin a well-formed character
// (a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, a character cut off) reads as U+FFFD.
std::u16string fromUtf8(std::string_view utf8);

// Appends `c` as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Appends `c` as UTF-8 with every byte written "%XX" (upper-case hex).
void appendPercentEncoded(std::string& out, char32_t c);

// The byte of a "%XX" escape (either case of hex) at `i`, or -1.
int percentEscapedByte(std::string_view s, std::size_t i);

// UTF-7 (RFC 2152) as UTF-16: "+" opens a run of modified base64 that the
// first other character closes (a closing "-" is dropped), "+-" is "+".
// Bits left over at the end of a run are dropped. False for a run that
// holds no whole unit.
bool fromUtf7(std::string_view utf7, std::u16string& out);

}  // namespace unicode
