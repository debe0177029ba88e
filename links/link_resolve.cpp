// Link values: the cleaning every href and src value gets, and relative
// links made absolute against the page's base URL. The base's whole
// authority (user part, host and port) stays in front of every result, so
// pages served from a port or by a user's address resolve like any other.
#include "links/link_resolve.h"

#include <algorithm>
#include <cstddef>

#include "common/capacity.h"
#include "common/text.h"
#include "template/url_parts.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Length of an ampersand reference at `at` ("&amp;", "&#38;", "&#x26;",
// any case, leading zeros allowed), or 0.
std::size_t ampersandReference(std::string_view s, std::size_t at) {
    std::string_view rest = s.substr(at);
    if (text::startsWithNoCase(rest, "&amp;")) return 5;
    if (rest.size() < 2 || rest[1] != '#') return 0;
    std::size_t i = 2;
    const bool hex = i < rest.size() && (rest[i] == 'x' || rest[i] == 'X');
    if (hex) ++i;
    while (i < rest.size() && rest[i] == '0') ++i;
    return rest.substr(i, 3) == (hex ? "26;" : "38;") ? i + 3 : 0;
}

// Length of the scheme characters a value begins with: a letter, then
// letters, digits, '+', '-' and '.'.
std::size_t schemeLength(std::string_view value) {
    if (value.empty() || !isAsciiLetter(value[0])) return 0;
    std::size_t i = 1;
    while (i < value.size() && (isAsciiLetter(value[i]) || (value[i] >= '0' && value[i] <= '9') ||
                                value[i] == '+' || value[i] == '-' || value[i] == '.'))
        ++i;
    return i;
}

// Replaces every backslash that stands on a character boundary (a trail
// byte may be 0x5C) by a slash.
void backslashesToSlashes(std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '\\') s[i] = '/';
        i += text::charLength(s, i);
    }
}

// First of the given ASCII bytes at or after `from` on a character boundary.
std::size_t findFirstOf(std::string_view s, std::string_view bytes, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        if (bytes.find(s[i]) != std::string_view::npos) return i;
        i += text::charLength(s, i);
    }
    return text::npos;
}

// The parts of a base URL that links are joined to.
struct BaseParts {
    std::string_view scheme;  // "http", without ':'
    std::string_view origin;  // "http://user@host:8080"
    std::string folder;       // "/a/b/"; "/" for a base without a path
    std::string_view withoutFragment;
    std::string_view withoutQuery;  // and without fragment
};

bool splitBase(std::string_view base, BaseParts& parts) {
    // "scheme://", the scheme made of scheme characters only (a "://" in
    // the query of a mail address is no authority).
    const std::size_t separator = base.find("://");
    if (separator == std::string_view::npos || schemeLength(base) != separator) return false;
    parts.scheme = base.substr(0, separator);
    const std::size_t authorityEnd = std::min(findFirstOf(base, "/?#", separator + 3), base.size());
    parts.origin = base.substr(0, authorityEnd);

    const std::size_t fragment = findFirstOf(base, "#", authorityEnd);
    parts.withoutFragment = base.substr(0, fragment);
    const std::size_t query = findFirstOf(parts.withoutFragment, "?", authorityEnd);
    parts.withoutQuery = parts.withoutFragment.substr(0, query);

    std::string_view path = parts.withoutQuery.substr(authorityEnd);
    const std::size_t lastSlash = path.rfind('/');
    parts.folder = lastSlash == std::string_view::npos ? "/" : std::string(path.substr(0, lastSlash + 1));
    return true;
}

// "../" groups climb the folder of `root`, which ends in '/'. False when a
// group would climb above the host.
bool climb(std::string& root, std::size_t groups) {
    for (std::size_t n = 0; n < groups; ++n) {
        const std::size_t slash = root.rfind('/', root.size() - 2);
        if (slash == std::string::npos || slash == 0 || root[slash - 1] == '/') return false;
        root.resize(slash + 1);
    }
    return true;
}

// Joins a link without scheme, authority, query or fragment mark to the
// base's folder by the "../" and "./" rules. 0 when they forbid it.
int joinToFolder(std::string& link, const BaseParts& base) {
    std::string root = std::string(base.origin) + base.folder;
    const std::size_t up = link.find("../");
    if (up != std::string::npos) {
        if (up != 0) return 0;
        std::size_t groups = 0;
        while (link.compare(groups * 3, 3, "../") == 0) ++groups;
        if (!climb(root, groups)) return 0;
        link = root + link.substr(groups * 3);
        return 1;
    }
    const std::size_t here = link.find("./");
    if (here != std::string::npos) {
        if (here != 0) return 0;
        link = root + link.substr(2);
        return 1;
    }
    link = root + link;
    return 1;
}

}  // namespace

std::string cleanLinkValue(std::string_view value) {
    std::size_t first = 0, last = value.size();
    while (first < last && isBlank(value[first])) ++first;
    while (last > first && isBlank(value[last - 1])) --last;
    value = value.substr(first, last - first);

    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        // '&' is never the trail byte of a double-byte character.
        std::size_t reference = value[i] == '&' ? ampersandReference(value, i) : 0;
        if (reference > 0) {
            out += '&';
            i += reference;
        } else {
            out += value[i++];
        }
    }
    return out;
}

bool hasScheme(std::string_view value) {
    const std::size_t length = schemeLength(value);
    return length >= 2 && length < value.size() && value[length] == ':';
}

int resolveRelativeLink(std::string& link, std::string& baseUrl) {
    if (!crackUrl(baseUrl)) return 0;
    // A link with a scheme of its own is never relative: "javascript:",
    // "data:", "tel:" and switched-off kinds are not links of this page.
    if (hasScheme(link)) return 0;
    backslashesToSlashes(baseUrl);
    BaseParts base;
    if (!splitBase(baseUrl, base)) return 0;

    std::string result;
    if (link.compare(0, 2, "//") == 0) {
        result = std::string(base.scheme) + ":" + link;
        if (result.size() >= cap::path) return 0;
    } else if (!link.empty() && link[0] == '/') {
        result = std::string(base.origin) + link;
        if (result.size() >= cap::path) return 0;
        backslashesToSlashes(result);
    } else if (link.empty() || link[0] == '#') {
        // The page itself, or a place in it.
        result = std::string(base.withoutFragment) + link;
    } else if (link[0] == '?') {
        result = std::string(base.withoutQuery) + link;
    } else {
        result = link;
        if (!joinToFolder(result, base)) return 0;
    }
    if (result.size() >= cap::url) return 0;
    link = result;
    return 1;
}
