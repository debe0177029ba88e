// Cutting a text that is longer than its buffer between two tokens, so
// that no token, and so no URL, is handed on cut in half.
#pragma once
#include <cstddef>
#include <string_view>

// The longest head of `text` of at most `limit` characters that ends
// between tokens as recognition cuts them (lineMode 1: a line feed ends a
// token too). The whole text when it fits.
std::string_view wholeTokens(std::string_view text, std::size_t limit, int lineMode);
