// The base element and the title of a page, each found by the first
// case-insensitive occurrence of its fixed opening text.
#include "links/page_head.h"

#include <cstddef>

#include "common/text.h"

namespace {
constexpr std::size_t maxBaseLength = 247;
constexpr std::size_t maxTitleLength = 252;
}  // namespace

std::string findBaseElement(std::string_view text) {
    constexpr std::string_view opening = "<base href=\"";
    const std::size_t at = text::findNoCase(text, opening);
    if (at == text::npos) return std::string();
    const std::size_t start = at + opening.size();
    const std::size_t end = text::findNoCase(text, "\"", start);
    // An empty base names the page itself: the caller's base stays.
    if (end == text::npos || end - start > maxBaseLength) return std::string();
    return std::string(text.substr(start, end - start));
}

std::string findPageTitle(std::string_view text) {
    constexpr std::string_view opening = "<title>";
    const std::size_t at = text::findNoCase(text, opening);
    if (at == text::npos) return std::string();
    const std::size_t start = at + opening.size();
    const std::size_t end = text::findNoCase(text, "</title>", start);
    if (end == text::npos || end - start > maxTitleLength) return std::string();
    return std::string(text.substr(start, end - start));
}
