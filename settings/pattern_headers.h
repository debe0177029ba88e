// Block headers that name a list of patterns rather than one key:
// "[host:PATTERNS]" and "[from:PATTERNS]". Each header is read wherever its
// key stands (never on a comment line), with the patterns up to the first
// ']' of its line and the block exclusive when the line ends in '#'.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct PatternHeader {
    std::size_t at = 0;     // offset of the key ("[host:") in the text
    std::string patterns;   // the text between the key and the first ']'
    bool closed = false;    // false: no ']' on the header's line
    bool exclusive = false; // the header's line ends in '#'
};

// Every header with `key` in file order.
std::vector<PatternHeader> patternHeaders(std::string_view text, std::string_view key);

// The items of a pattern list separated by ';', as written (blanks kept).
// A ';' that is the second byte of a double-byte character separates none.
std::vector<std::string_view> splitPatternList(std::string_view list);
