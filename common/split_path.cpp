// Path splitting in the manner of _splitpath, aware of double-byte
// characters whose trail byte may be a backslash.
#include "common/split_path.h"

#include "common/text.h"

namespace {
constexpr std::size_t maxInput = 259;
constexpr std::size_t maxPart = 255;

std::string part(std::string_view s) {
    return text::cut(s, maxPart + 1);
}
}  // namespace

PathParts splitPath(std::string_view path) {
    path = path.substr(0, text::boundaryAtOrBefore(path, maxInput));
    PathParts out;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && !text::isLeadByte(static_cast<unsigned char>(path[0]))) {
        out.drive = std::string(path.substr(0, 2));
        start = 2;
    }
    // Last separator and last dot, walking by characters.
    std::size_t lastSep = std::string_view::npos, lastDot = std::string_view::npos;
    for (std::size_t i = start; i < path.size();) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (text::isLeadByte(c)) { i += 2; continue; }
        if (c == '\\' || c == '/') { lastSep = i; lastDot = std::string_view::npos; }
        else if (c == '.') lastDot = i;
        ++i;
    }
    std::size_t nameStart = start;
    if (lastSep != std::string_view::npos) {
        out.directory = part(path.substr(start, lastSep + 1 - start));
        nameStart = lastSep + 1;
    }
    std::string_view finalComponent = path.substr(nameStart);
    if (finalComponent == "." || finalComponent == "..") {
        out.name = std::string(finalComponent);
        return out;
    }
    if (lastDot != std::string_view::npos) {
        out.name = part(path.substr(nameStart, lastDot - nameStart));
        out.extension = part(path.substr(lastDot));
    } else {
        out.name = part(finalComponent);
    }
    return out;
}
