// Code page 932 byte-string helpers.
#include "common/text.h"

#include <cstring>

namespace text {

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

std::size_t charLength(std::string_view s, std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                   isTrailByte(static_cast<unsigned char>(s[i + 1]))
               ? 2
               : 1;
}

std::size_t boundaryAtOrBefore(std::string_view s, std::size_t n) {
    if (n >= s.size()) n = s.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t step = charLength(s, i);
        if (i + step > n) break;
        // A lead byte with no trail byte in the text is half a character.
        if (step == 1 && i + 1 >= s.size() && isLeadByte(static_cast<unsigned char>(s[i]))) break;
        i += step;
    }
    return i;
}

std::string cut(std::string_view src, std::size_t capacity) {
    if (capacity == 0) return std::string();
    std::size_t limit = capacity - 1;
    if (src.size() <= limit) {
        // Still drop a dangling lead byte at the end of the source.
        return std::string(src.substr(0, boundaryAtOrBefore(src, src.size())));
    }
    return std::string(src.substr(0, boundaryAtOrBefore(src, limit)));
}

void assignCut(std::string& dst, std::string_view src, std::size_t capacity) {
    dst = cut(src, capacity);
}

void appendCut(std::string& dst, std::string_view src, std::size_t capacity) {
    if (capacity == 0 || dst.size() >= capacity - 1) return;
    dst += cut(src, capacity - dst.size());
}

namespace {
inline unsigned char fold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Compares needle with hay at pos, folding ASCII letters; a byte that is
// the trail of a double-byte character in the needle compares exactly.
bool matchAt(std::string_view hay, std::size_t pos, std::string_view needle) {
    if (hay.size() - pos < needle.size()) return false;
    for (std::size_t j = 0; j < needle.size(); ++j) {
        unsigned char a = static_cast<unsigned char>(hay[pos + j]);
        unsigned char b = static_cast<unsigned char>(needle[j]);
        if (isLeadByte(b) && j + 1 < needle.size()) {
            if (a != b || hay[pos + j + 1] != needle[j + 1]) return false;
            ++j;
            continue;
        }
        if (fold(a) != fold(b)) return false;
    }
    return true;
}

// Next position at or after i whose byte folds to `first` (a folded byte),
// below `end`; `end` when there is none.
std::size_t nextCandidate(std::string_view hay, std::size_t i, std::size_t end,
                          unsigned char first) {
    if (first < 'a' || first > 'z') {
        const void* at = std::memchr(hay.data() + i, first, end - i);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - hay.data()) : end;
    }
    while (i < end && fold(static_cast<unsigned char>(hay[i])) != first) ++i;
    return i;
}
}  // namespace

// Pages of many megabytes are searched with this, so candidates are found
// by their first byte rather than by walking every character. A candidate
// counts only where the walk would stand: after a run of lead bytes that
// begins on a character boundary, every second byte is a trail byte (lead
// bytes are trail bytes too), and a byte that cannot be a trail byte
// always begins a character.
std::size_t findNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty() || from > hay.size() || needle.size() > hay.size()) return npos;
    const unsigned char first = fold(static_cast<unsigned char>(needle[0]));
    if (isLeadByte(first)) {
        for (std::size_t i = from; i + needle.size() <= hay.size();) {
            if (matchAt(hay, i, needle)) return i;
            i += charLength(hay, i);
        }
        return npos;
    }
    const std::size_t end = hay.size() - needle.size() + 1;
    std::size_t boundary = from;  // a known character boundary
    while (boundary < end) {
        std::size_t p = nextCandidate(hay, boundary, end, first);
        if (p >= end) return npos;
        // Most candidates fail at their second byte; spare them the rest.
        if (needle.size() > 1 && !isLeadByte(static_cast<unsigned char>(needle[0])) &&
            fold(static_cast<unsigned char>(hay[p + 1])) != fold(static_cast<unsigned char>(needle[1]))) {
            boundary = p + 1;
            continue;
        }
        std::size_t leads = 0;
        if (isTrailByte(static_cast<unsigned char>(hay[p]))) {
            while (p - leads > boundary && isLeadByte(static_cast<unsigned char>(hay[p - leads - 1])))
                ++leads;
        }
        if (leads % 2 == 0 && matchAt(hay, p, needle)) return p;
        // Either way the next character begins right after p.
        boundary = p + 1;
    }
    return npos;
}

bool containsNoCase(std::string_view hay, std::string_view needle) {
    return findNoCase(hay, needle) != npos;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && matchAt(s, 0, prefix);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && matchAt(a, 0, b);
}

void replaceAllNoCase(std::string& text, std::string_view needle, std::string_view value,
                      std::size_t capacity) {
    std::size_t pos = findNoCase(text, needle);
    while (pos != npos) {
        std::string next = text.substr(0, pos);
        next += value;
        const std::size_t resume = next.size();
        next.append(text, pos + needle.size(), std::string::npos);
        assignCut(text, next, capacity);
        pos = findNoCase(text, needle, resume);
    }
}

std::size_t findByte(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size();) {
        if (s[i] == c) return i;
        i += charLength(s, i);
    }
    return npos;
}

int toInt(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 0x7fffffffLL) value = 0x7fffffffLL;  // saturate, never overflow
    }
    return static_cast<int>(negative ? -value : value);
}

std::string_view skipLeadingSpaces(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

}  // namespace text
