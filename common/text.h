// Byte-string helpers for code page 932 text: the one capacity cut, and
// case-insensitive searches that fold ASCII letters only and never start a
// match on the trail byte of a double-byte character.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

constexpr std::size_t npos = std::string_view::npos;

// True for the first byte of a two-byte CP932 character.
bool isLeadByte(unsigned char c);
// True for a byte that can follow a lead byte (0x40..0x7E, 0x80..0xFC).
bool isTrailByte(unsigned char c);
// Length of the character at i (i < s.size()): 2 for a lead byte followed
// by a trail byte, else 1. A lead byte before a byte that cannot be a trail
// (a quote, '<', a line end, as in text that is not CP932 at all) stands
// alone, so that byte is still seen.
std::size_t charLength(std::string_view s, std::size_t i);

// Largest length <= n that does not end between the two bytes of a
// double-byte character (a lone lead byte at the very end is kept out too).
std::size_t boundaryAtOrBefore(std::string_view s, std::size_t n);

// The shared cut: what a buffer of `capacity` bytes (terminator included)
// holds of `src`, never ending in half a character.
std::string cut(std::string_view src, std::size_t capacity);
void assignCut(std::string& dst, std::string_view src, std::size_t capacity);
// Appends as much of src as fits so that dst stays within capacity.
void appendCut(std::string& dst, std::string_view src, std::size_t capacity);

// First occurrence of `needle` in `hay` at or after `from` (which must be a
// character boundary), ASCII case folded; npos when absent or needle empty.
std::size_t findNoCase(std::string_view hay, std::string_view needle,
                       std::size_t from = 0);
bool containsNoCase(std::string_view hay, std::string_view needle);
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `needle` (ASCII case folded) by `value`,
// searching on behind each inserted value so that a value holding the
// needle cannot loop; the text is cut to `capacity` after each step.
void replaceAllNoCase(std::string& text, std::string_view needle, std::string_view value,
                      std::size_t capacity);

// First occurrence of byte c at a character boundary, or npos.
std::size_t findByte(std::string_view s, char c, std::size_t from = 0);

// StrToIntA: optional sign and leading decimal digits; anything else is 0.
int toInt(std::string_view s);

// Leading blanks removed (spaces only; tabs never reach the callers).
std::string_view skipLeadingSpaces(std::string_view s);

}  // namespace text
