// Link values: the cleaning every href and src value gets, and relative
// links made absolute against the page's base URL. The base's whole
// authority (user part, host and port) stays in front of every result, so
// pages served from a port or by a user's address resolve like any other.
#include "links/link_resolve.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/capacity.h"
#include "common/text.h"
#include "template/url_parts.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

constexpr char32_t replacementCharacter = 0xFFFD;

// The named references that stand for characters of URLs.
struct NamedReference {
    std::string_view name;  // with '&' and ';'
    char32_t character;
};
constexpr NamedReference namedReferences[] = {
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''},
};

// A numeric reference to 0x80..0x9F means the windows-1252 character of
// that byte, as pages written in that code page meant it (0 where the byte
// has none and stays itself).
constexpr char16_t windows1252[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The character reference at `at` ("&amp;" and the other named ones, any
// case, ';' required; "&#NN" or "&#xHH", ';' optional), its length and the
// character it stands for; length 0 when there is none. Numbers a browser
// would not take as characters (0, surrogates, above U+10FFFF) stand for
// U+FFFD.
std::size_t characterReference(std::string_view s, std::size_t at, char32_t& character) {
    const std::string_view rest = s.substr(at);
    for (const NamedReference& named : namedReferences) {
        if (text::startsWithNoCase(rest, named.name)) {
            character = named.character;
            return named.name.size();
        }
    }
    if (rest.size() < 3 || rest[1] != '#') return 0;
    std::size_t i = 2;
    const bool hex = rest[i] == 'x' || rest[i] == 'X';
    if (hex) ++i;
    const std::size_t firstDigit = i;
    std::uint32_t value = 0;
    for (int d; i < rest.size() && (d = digitValue(rest[i], hex)) >= 0; ++i)
        value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d), 0x110000);
    if (i == firstDigit) return 0;
    if (i < rest.size() && rest[i] == ';') ++i;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) value = replacementCharacter;
    else if (value >= 0x80 && value <= 0x9F && windows1252[value - 0x80] != 0) value = windows1252[value - 0x80];
    character = value;
    return i;
}

void appendPercent(std::string& out, unsigned byte) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    out += '%';
    out += hexDigits[byte >> 4];
    out += hexDigits[byte & 0x0F];
}

// A referenced character as URL text: ASCII as itself, except what cannot
// stand in a URL as this program passes URLs on (controls, the blank,
// '"', '<', '>'), which is percent-encoded, as are the UTF-8 bytes of
// every other character. Tab, CR and LF are dropped, as browsers drop
// them from URLs.
void appendReferenced(std::string& out, char32_t c) {
    if (c == '\t' || c == '\r' || c == '\n') return;
    if (c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>') {
        out += static_cast<char>(c);
    } else if (c < 0x80) {
        appendPercent(out, static_cast<unsigned>(c));
    } else if (c < 0x800) {
        appendPercent(out, 0xC0 | (c >> 6));
        appendPercent(out, 0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        appendPercent(out, 0xE0 | (c >> 12));
        appendPercent(out, 0x80 | ((c >> 6) & 0x3F));
        appendPercent(out, 0x80 | (c & 0x3F));
    } else {
        appendPercent(out, 0xF0 | (c >> 18));
        appendPercent(out, 0x80 | ((c >> 12) & 0x3F));
        appendPercent(out, 0x80 | ((c >> 6) & 0x3F));
        appendPercent(out, 0x80 | (c & 0x3F));
    }
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
    // The value as characters: its own bytes, and what its references
    // stand for. Blanks at either end go, also those a reference stands
    // for (as browsers trim spaces and controls from a URL's ends).
    struct Piece {
        char32_t character;
        bool referenced;
    };
    std::vector<Piece> pieces;
    pieces.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        // '&' is never the trail byte of a double-byte character.
        char32_t character = 0;
        const std::size_t reference = value[i] == '&' ? characterReference(value, i, character) : 0;
        if (reference > 0) {
            pieces.push_back({character, true});
            i += reference;
        } else {
            pieces.push_back({static_cast<unsigned char>(value[i++]), false});
        }
    }
    auto atEnd = [](const Piece& p) { return p.referenced ? p.character <= 0x20 : isBlank(static_cast<char>(p.character)); };
    std::size_t first = 0, last = pieces.size();
    while (first < last && atEnd(pieces[first])) ++first;
    while (last > first && atEnd(pieces[last - 1])) --last;

    std::string out;
    out.reserve(value.size());
    for (std::size_t i = first; i < last; ++i) {
        if (pieces[i].referenced) appendReferenced(out, pieces[i].character);
        else out += static_cast<char>(pieces[i].character);
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
