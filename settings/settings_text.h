// Helpers shared by the steps of the settings loader: how much of a file is
// read and what block-header searches see.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Settings and search-list files are read whole, up to this size; anything
// beyond is ignored rather than exhausting a 32-bit address space.
constexpr std::size_t maxSettingsFileBytes = std::size_t{64} << 20;

// The part of a file's text that searches for headers and keys see: up to
// the first NUL byte, as with a zero-terminated copy of the file.
std::string_view searchableText(std::string_view text);

// Offset of the line after the one holding the first case-insensitive
// occurrence of `header`; npos when the header does not occur.
std::size_t lineAfterHeader(std::string_view text, std::string_view header);
