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

// Converts the whole, valid UTF-8 characters at the start of the `length`
// bytes at `utf8` (ASCII among them) to code page 932 into `out`, which
// has room for 2 * length bytes, and stops before the first byte that
// begins no whole character there (broken, or cut off at the end). Sets
// *consumed to the bytes it read; returns the bytes written.
typedef size_t (*Utf8Converter)(const char* utf8, size_t length, char* out, size_t* consumed);

// Most bytes of UTF-8 handed to the converter at once.
const size_t utf8ChunkBytes = 4096;

// The Shift_JIS bytes of JIS X 0208 row/cell bytes j1, j2 (0x21..0x7E).
void jisToSjis(unsigned char j1, unsigned char j2, unsigned char out[2]);

// Length of the valid UTF-8 character at text (1..4), or 0 when the bytes
// there do not begin one: a stray continuation byte, an overlong form, a
// surrogate, a value above U+10FFFF or a character cut off.
inline size_t utf8CharLength(const unsigned char* text, size_t length) {
    if (length == 0) return 0;
    const unsigned char c = text[0];
    if (c < 0x80) return 1;
    size_t n;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c == 0xE0) { n = 3; low = 0xA0; }
    else if (c == 0xED) { n = 3; high = 0x9F; }  // no surrogates
    else if (c >= 0xE1 && c <= 0xEF) n = 3;
    else if (c == 0xF0) { n = 4; low = 0x90; }
    else if (c == 0xF4) { n = 4; high = 0x8F; }  // nothing above U+10FFFF
    else if (c >= 0xF1 && c <= 0xF3) n = 4;
    else return 0;
    if (length < n || text[1] < low || text[1] > high) return 0;
    for (size_t i = 2; i < n; ++i)
        if ((text[i] & 0xC0) != 0x80) return 0;
    return n;
}

// How many of the `length` bytes at `text` are whole, valid UTF-8
// characters (ASCII among them) from the start: where a converter that
// needs such a run stops.
size_t wholeUtf8Length(const unsigned char* text, size_t length);

// Converts `length` bytes of `in` from `from` into `out` of `capacity`
// bytes (terminating zero included; capacity 0 writes nothing). Returns
// the length written, without the zero. ASCII and Shift_JIS are copied.
size_t convertToCp932(const unsigned char* in, size_t length, Encoding from, char* out,
                      size_t capacity, Utf8Converter utf8);

// The code page's form of a UTF-16 code unit where JIS-based converters
// give a character that Unicode keeps apart from it (wave dash, double
// vertical line, minus, cent, pound, not sign, broken bar, em dash);
// other units as they are.
unsigned cp932Form(unsigned unit);

// What the library's NkfConvert does: detects the encoding of the
// zero-terminated `in` and writes it as code page 932 into `out`, which
// holds three times the length of `in` (at least one byte), zero included.
void convertPage(const char* in, char* out, Utf8Converter utf8);

// Prepares UTF-16 text (any 16-bit unit type) for the code page: the forms
// above, one '?' for a surrogate pair (no such character is in the code
// page) or a lone surrogate, and no byte-order marks. Works in place;
// returns the new length.
template <typename Unit>
size_t prepareWideForCp932(Unit* text, size_t length) {
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFFu;
        // ASCII and the like, the most of a page, have no other form.
        if (unit < 0xA2) {
            text[out++] = static_cast<Unit>(unit);
            continue;
        }
        if (unit == 0xFEFF) continue;
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            if (unit <= 0xDBFF && i + 1 < length && (static_cast<unsigned>(text[i + 1]) & 0xFC00u) == 0xDC00u) ++i;
            text[out++] = static_cast<Unit>('?');
            continue;
        }
        text[out++] = static_cast<Unit>(cp932Form(unit));
    }
    return out;
}

}  // namespace nkf
