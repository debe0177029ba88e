// The base element and the title of a page, each found by the first
// case-insensitive occurrence of its opening.
#include "links/page_head.h"

#include <cstddef>

#include "common/text.h"
#include "links/page_tags.h"

namespace {
constexpr std::size_t maxBaseLength = 247;
constexpr std::size_t maxTitleLength = 252;

std::string baseElementAt(std::string_view text, std::size_t at) {
    if (at == text::npos) return std::string();
    const std::size_t start = at + PageTags::openingAt(text, at, PageTags::BaseStart);
    const std::size_t end = text::findNoCase(text, "\"", start);
    // An empty base names the page itself: the caller's base stays.
    if (end == text::npos || end - start > maxBaseLength) return std::string();
    return std::string(text.substr(start, end - start));
}

std::string pageTitleAt(std::string_view text, std::size_t at) {
    if (at == text::npos) return std::string();
    const std::size_t start = at + PageTags::openingAt(text, at, PageTags::TitleStart);
    const std::size_t end = text::findNoCase(text, "</title>", start);
    if (end == text::npos || end - start > maxTitleLength) return std::string();
    return std::string(text.substr(start, end - start));
}

}  // namespace

std::string findBaseElement(std::string_view text) {
    return baseElementAt(text, PageTags::search(text, PageTags::BaseStart, 0));
}

std::string findPageTitle(std::string_view text) {
    return pageTitleAt(text, PageTags::search(text, PageTags::TitleStart, 0));
}

std::string findBaseElement(std::string_view text, const PageTags& tags) {
    return baseElementAt(text, tags.find(PageTags::BaseStart, 0));
}

std::string findPageTitle(std::string_view text, const PageTags& tags) {
    return pageTitleAt(text, tags.find(PageTags::TitleStart, 0));
}
