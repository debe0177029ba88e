// Template expansion in a single pass. The template is read once from the
// left; where a placeholder starts, its value goes into the result in its
// place and reading goes on behind it. Values are never read again: a saved
// path holding "%D" or a percent escape such as "%E8" stays as it is.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace onepass {

// A placeholder found at the reading position: how many bytes of the
// template it covers, and the text that stands for them.
struct Found {
    std::size_t length = 0;
    std::string value;
};

// Looks at the template from the reading position on; true with `found`
// filled when a placeholder starts there. `resultLength` is the length of
// the result so far (where the value would go).
using Finder = std::function<bool(std::string_view rest, std::size_t resultLength, Found& found)>;

// Expands `templateText` with the placeholders `find` knows, keeping the
// result within `capacity` bytes (terminator included): a value that does
// not fit is cut there, on a character boundary, and the result ends.
// Placeholders are only looked for at character boundaries, so the trail
// byte of a double-byte character never starts one.
std::string expand(std::string_view templateText, const Finder& find, std::size_t capacity);

}  // namespace onepass
