// The "[system]" block: option lines, the loader parameter line, filter
// groups and the parameters block.
#pragma once
#include <cstddef>
#include <string_view>

// Interprets lines from `offset` until a "%end" line or the end of the text.
void readSystemBlock(std::string_view text, std::size_t offset);
