// Line cutting shared by every reader of settings blocks.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The line that starts at `offset`: at most 517 characters, CR and TAB
// removed. `consumed` receives the distance to just past the LF, or to one
// past the end of the text when no LF follows; callers stop when
// offset + consumed exceeds text.size(), so a last line without LF is
// never processed. A NUL byte ends the line's text (the rest up to the LF
// is dropped), so lines never carry NULs into paths or values.
std::string readSettingsLine(std::string_view text, std::size_t offset,
                             std::size_t& consumed);
