// The single-pass reader shared by the three expanders.
#include "template/one_pass.h"

#include "common/text.h"

namespace onepass {

std::string expand(std::string_view templateText, const Finder& find, std::size_t capacity) {
    std::string result;
    if (capacity == 0) return result;
    const std::size_t room = capacity - 1;
    for (std::size_t i = 0; i < templateText.size();) {
        Found found;
        std::string_view piece;
        std::size_t step = 0;
        if (find(templateText.substr(i), result.size(), found) && found.length > 0) {
            piece = found.value;
            step = found.length < templateText.size() - i ? found.length : templateText.size() - i;
        } else {
            step = text::charLength(templateText, i);
            piece = templateText.substr(i, step);
        }
        if (result.size() + piece.size() > room) {
            text::appendCut(result, piece, capacity);
            break;
        }
        result += piece;
        i += step;
    }
    return result;
}

}  // namespace onepass
