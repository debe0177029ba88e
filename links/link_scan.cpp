// The tag scan. Tags and attributes are found by case-insensitive search
// for fixed strings, values are cut by a few fixed rules, and anchors come
// before images. Every byte it looks for lies below 0x40, so none can be
// the trail byte of a double-byte character.
#include "links/link_scan.h"

#include <cstddef>
#include <cstring>

#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"
#include "links/link_entry.h"
#include "links/link_resolve.h"
#include "links/link_tests.h"
#include "links/page_tags.h"

namespace {

constexpr std::size_t maxTagLength = 520;      // from '<' to '>' inclusive
constexpr std::size_t maxTitleLength = cap::path - 1;

struct TagRule {
    PageTags::Kind open;         // "<a" and the blank or line end after it
    std::string_view attribute;  // "href="
    LinkKind kind;
};

constexpr TagRule anchorRule{PageTags::AnchorStart, "href=", Anchor};
constexpr TagRule imageRule{PageTags::ImageStart, "src=", Image};

// Blanks and line breaks a browser allows between an attribute's '=' and
// its value ("href=\n\"x.html\"").
bool isSpaceBeforeValue(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The raw value of the first `attribute` in the tag: after any blanks and
// line breaks, double-quoted up to the next double quote, single-quoted up
// to the next apostrophe, otherwise (or without the closing quote) up to
// the next blank or the tag's '>'.
bool attributeValue(std::string_view tag, std::string_view attribute, std::string_view& value) {
    const std::size_t at = text::findNoCase(tag, attribute);
    if (at == text::npos) return false;
    std::size_t start = at + attribute.size();
    while (start < tag.size() && isSpaceBeforeValue(tag[start])) ++start;
    char quote = 0;
    if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) quote = tag[start++];
    if (start >= tag.size()) return false;
    std::size_t end = quote ? text::findByte(tag, quote, start) : text::npos;
    if (end == text::npos) end = text::findByte(tag, ' ', start);
    if (end == text::npos) end = tag.size() - 1;
    value = tag.substr(start, end - start);
    return true;
}

// The text between an anchor's '>' and its "</a>": line ends and tags
// dropped, everything else as it stands, at most 259 characters.
std::string anchorText(std::string_view between) {
    std::string title;
    for (std::size_t i = 0; i < between.size();) {
        const char c = between[i];
        if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '<') {
            const std::size_t close = text::findNoCase(between, ">", i);
            if (close == text::npos) break;
            i = close + 1;
        } else {
            const std::size_t step = text::charLength(between, i);
            if (title.size() + step > maxTitleLength) break;
            title.append(between.substr(i, step));
            i += step;
        }
    }
    return title;
}

// The alt text of an image tag: after an opening quote, up to the matching
// kind of quote (a double quote also ends an unquoted one) or the tag's
// '>'; blanks included, line ends dropped, at most 259 characters.
std::string altText(std::string_view tag) {
    std::string title;
    const std::size_t at = text::findNoCase(tag, "alt=");
    if (at == text::npos) return title;
    std::size_t i = at + 4;
    char stop = '"';
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) stop = tag[i++];
    while (i < tag.size()) {
        const char c = tag[i];
        if (c == stop || c == '>') break;
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        const std::size_t step = text::charLength(tag, i);
        if (title.size() + step > maxTitleLength) break;
        title.append(tag.substr(i, step));
        i += step;
    }
    return title;
}

bool isAcceptedKind(int kind) { return kind == 0 || kind == 1; }

// True when the value is a link of an accepted kind as it stands or, in
// mode 1, once made absolute; `link` then holds it.
bool acceptLink(std::string& link, std::string& baseUrl, int mode) {
    if (!link.empty() && isAcceptedKind(classifyLink(link))) return true;
    if (mode != 1) return false;
    return resolveRelativeLink(link, baseUrl) == 1 && isAcceptedKind(classifyLink(link));
}

std::string withoutBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\r' && c != '\n' && c != '\t' && c != ' ') out += c;
    return out;
}

void scanPass(std::string_view text, const PageTags& tags, const TagRule& rule, std::string& baseUrl,
              int mode) {
    std::size_t cursor = 0;
    while (urlList.urlCount < maxScannedLinks) {
        const std::size_t open = tags.find(rule.open, cursor);
        if (open == text::npos) return;
        const void* gt = std::memchr(text.data() + open, '>', text.size() - open);
        if (!gt) return;
        const std::size_t close = static_cast<std::size_t>(static_cast<const char*>(gt) - text.data());
        cursor = close;  // where a skipped tag leaves the search
        if (close - open + 1 > maxTagLength) continue;
        const std::string_view tag = text.substr(open, close - open + 1);

        std::string_view value;
        if (!attributeValue(tag, rule.attribute, value)) continue;
        std::string link = cleanLinkValue(value);
        if (!acceptLink(link, baseUrl, mode)) continue;
        // An image source is measured before its blanks go, an anchor after.
        if (rule.kind == Image && link.size() > maxTitleLength) continue;
        link = withoutBlanks(link);
        if (link.size() > maxTitleLength) continue;

        std::string title;
        if (rule.kind == Anchor) {
            const std::size_t end = tags.find(PageTags::AnchorEnd, close + 1);
            if (end != text::npos) {
                title = anchorText(text.substr(close + 1, end - close - 1));
                cursor = end;
            }
        } else {
            title = altText(tag);
        }
        fillLinkEntry(urlList.entries[static_cast<std::size_t>(urlList.urlCount)], link, title,
                      rule.kind);
        ++urlList.urlCount;
    }
}

}  // namespace

void scanLinks(std::string_view text, const PageTags& tags, std::string& baseUrl, int mode) {
    urlList.urlCount = 0;
    scanPass(text, tags, anchorRule, baseUrl, mode);
    if (urlList.urlCount < maxScannedLinks) scanPass(text, tags, imageRule, baseUrl, mode);
}

void scanLinks(std::string_view text, std::string& baseUrl, int mode) {
    text = text.substr(0, text.find('\0'));
    scanLinks(text, PageTags(text), baseUrl, mode);
}
