// Template expansion in a single pass. The template is read once from the
// left; where a placeholder starts, its value goes into the result in its
// place and reading goes on behind it. Values are never read again: a saved
// path holding "%D" or a percent escape such as "%E8" stays as it is.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/text.h"

namespace onepass {

// A placeholder found at the reading position: how many bytes of the
// template it covers, and the text that stands for them.
struct Found {
    std::size_t length = 0;
    std::string value;
};

// Appends `piece` to `result` when it fits within `room` bytes; otherwise
// what fits of it, on a character boundary, and answers false: the result
// ends there.
bool append(std::string& result, std::string_view piece, std::size_t room);

// Expands `templateText`, keeping the result within `capacity` bytes
// (terminator included): a value that does not fit is cut there and the
// result ends. `find(rest, resultLength, found)` looks at the template from
// the reading position on (`resultLength`: where a value would go) and
// answers true with `found` filled when a placeholder starts there.
// Placeholders are only looked for at character boundaries, so the trail
// byte of a double-byte character never starts one.
template <class Find>
std::string expand(std::string_view templateText, Find&& find, std::size_t capacity) {
    std::string result;
    if (capacity == 0) return result;
    for (std::size_t i = 0; i < templateText.size();) {
        const std::string_view rest = templateText.substr(i);
        Found found;
        if (find(rest, result.size(), found) && found.length > 0) {
            if (!append(result, found.value, capacity - 1)) break;
            i += found.length < rest.size() ? found.length : rest.size();
        } else {
            const std::size_t step = text::charLength(templateText, i);
            if (!append(result, templateText.substr(i, step), capacity - 1)) break;
            i += step;
        }
    }
    return result;
}

}  // namespace onepass
