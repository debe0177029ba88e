// Line cutting shared by every reader of settings blocks.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The line that starts at `offset`: at most 517 characters, CR and TAB
// removed. `consumed` receives the distance to just past the LF, or to the
// end of the text when no LF follows: the end of the file ends the last
// line, so a file saved without a final line break loses nothing. At or
// past the end of the text there is no line, and `consumed` is 1; callers
// stop when offset + consumed exceeds text.size(). A NUL byte ends the
// line's text (the rest up to the LF is dropped), so lines never carry
// NULs into paths or values.
std::string readSettingsLine(std::string_view text, std::size_t offset,
                             std::size_t& consumed);

// The same line's text without measuring where the line ends: for callers
// that only read it (a header), so that reading many headers of one long
// line does not walk the rest of the line each time.
std::string settingsLineText(std::string_view text, std::size_t offset);
