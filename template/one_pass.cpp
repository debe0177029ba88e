// The single-pass reader shared by the three expanders.
#include "template/one_pass.h"

namespace onepass {

bool append(std::string& result, std::string_view piece, std::size_t room) {
    if (result.size() + piece.size() <= room) {
        result += piece;
        return true;
    }
    text::appendCut(result, piece, room + 1);
    return false;
}

}  // namespace onepass
