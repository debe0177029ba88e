// The parameters block: name/value pairs after the first "@param".
#pragma once
#include <cstddef>
#include <string_view>

// Reads the line at `offset` (the "@param" line) and the pairs after it
// into userParameters, afresh; returns the bytes consumed by the lines read,
// so that the caller continues behind the block.
std::size_t readUserParameters(std::string_view text, std::size_t offset);
