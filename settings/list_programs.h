// The "[list]" block: programs of the link list window.
#pragma once
#include <cstddef>
#include <string_view>

// Reads program-list lines from `offset` to the end of the text into
// listPrograms (after the caller has emptied it).
void readListPrograms(std::string_view text, std::size_t offset);
