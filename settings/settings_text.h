// Helpers shared by the steps of the settings loader: how much of a file is
// read and what block-header and key searches see.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Settings and search-list files are read whole, up to this size; anything
// beyond is ignored rather than exhausting a 32-bit address space.
constexpr std::size_t maxSettingsFileBytes = std::size_t{64} << 20;

// The part of a file's text that searches for headers and keys see: up to
// the first NUL byte, as with a zero-terminated copy of the file.
std::string_view searchableText(std::string_view text);

// Whether the line holding `position` is a comment line: its first
// character that is not a space, TAB or CR is ';'.
bool onCommentLine(std::string_view text, std::size_t position);

// The one search for block headers and option keys in a settings text:
// the first case-insensitive occurrence of `key` at or after `from` that
// does not stand on a comment line. A header or key may stand anywhere in
// any other line, even inside it; an occurrence on a comment line never
// counts, and the search goes on after that line. npos when none is left.
std::size_t findSettingsKey(std::string_view text, std::string_view key,
                            std::size_t from = 0);
// Every such occurrence, in order: what findSettingsKey finds from 0, then
// from just behind each occurrence found. Time linear in the text's size.
std::vector<std::size_t> findAllSettingsKeys(std::string_view text, std::string_view key);

// Offset of the line after the one holding the first such occurrence of
// `header`; npos when the header does not occur.
std::size_t lineAfterHeader(std::string_view text, std::string_view header);
