// Conversion of a page into code page 932 (Shift_JIS with the Windows
// extensions). JIS X 0208 characters move between EUC-JP, ISO-2022-JP and
// Shift_JIS by arithmetic; UTF-8 goes through a converter the caller
// supplies (the system's code pages on Windows). Characters that code page
// 932 lacks, and broken byte sequences, become '?'. The output never
// exceeds the capacity given, and never ends in half a character.
#pragma once
#include <stddef.h>

#include "links/nkf/nkf_detect.h"

namespace nkf {

// Converts `length` bytes of valid UTF-8 (whole characters only) to code
// page 932 into `out`, which has room for 2 * length bytes; returns the
// bytes written.
typedef size_t (*Utf8Converter)(const char* utf8, size_t length, char* out);

// Most bytes of UTF-8 handed to the converter at once.
const size_t utf8ChunkBytes = 4096;

// The Shift_JIS bytes of JIS X 0208 row/cell bytes j1, j2 (0x21..0x7E).
void jisToSjis(unsigned char j1, unsigned char j2, unsigned char out[2]);

// Length of the valid UTF-8 character at text (1..4), or 0 when the bytes
// there do not begin one: a stray continuation byte, an overlong form, a
// surrogate, a value above U+10FFFF or a character cut off.
size_t utf8CharLength(const unsigned char* text, size_t length);

// Converts `length` bytes of `in` from `from` into `out` of `capacity`
// bytes (terminating zero included; capacity 0 writes nothing). Returns
// the length written, without the zero. ASCII and Shift_JIS are copied.
size_t convertToCp932(const unsigned char* in, size_t length, Encoding from, char* out,
                      size_t capacity, Utf8Converter utf8);

// Prepares UTF-16 text for code page 932: the JIS forms of a few
// characters that Unicode separates from the code page's (wave dash,
// double vertical line, minus, cent, pound, not sign, em dash) become the
// code page's forms, a surrogate pair becomes one '?', and byte-order
// marks go. Works in place; returns the new length.
size_t prepareWideForCp932(unsigned short* text, size_t length);

}  // namespace nkf
