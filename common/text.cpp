// Code page 932 byte-string helpers.
#include "common/text.h"

#include <cstring>

#include "common/byte_words.h"

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

// Decides a candidate of findNoCase: a position whose byte folds to the
// needle's first byte (never a lead byte). A candidate counts only where the
// character walk would stand: after a run of lead bytes that begins on a
// character boundary, every second byte is a trail byte (lead bytes are
// trail bytes too), and a byte that cannot be a trail byte always begins a
// character. Either way the character after the candidate begins right
// after it, which becomes the known boundary for the next one.
class Candidates {
public:
    Candidates(std::string_view hay, std::string_view needle, std::size_t from)
        : hay_(hay), needle_(needle), boundary_(from) {}
    bool matchesAt(std::size_t p) {
        std::size_t leads = 0;
        if (isTrailByte(static_cast<unsigned char>(hay_[p]))) {
            while (p - leads > boundary_ && isLeadByte(static_cast<unsigned char>(hay_[p - leads - 1])))
                ++leads;
        }
        if (leads % 2 == 0 && matchAt(hay_, p, needle_)) return true;
        boundary_ = p + 1;
        return false;
    }

private:
    std::string_view hay_, needle_;
    std::size_t boundary_;  // a known character boundary at or before the next candidate
};
}  // namespace

// Pages of many megabytes are searched with this, so candidates are found
// a block of the text at a time rather than by walking every character;
// only candidates are compared in full.
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
    const std::size_t end = hay.size() - needle.size() + 1;  // candidates lie below
    if (from >= end) return npos;
    Candidates candidates(hay, needle, from);
    if (needle.size() == 1) {
        for (std::size_t p = nextCandidate(hay, from, end, first); p < end;
             p = nextCandidate(hay, p + 1, end, first)) {
            if (candidates.matchesAt(p)) return p;
        }
        return npos;
    }
    // Candidates are told by their first two or three bytes, a block of
    // the text at a time; a block's last position needs the bytes after
    // it, which a needle of that length guarantees below `end`.
    unsigned char prefix[3];
    const std::size_t prefixLength = needle.size() < 3 ? needle.size() : 3;
    for (std::size_t j = 0; j < prefixLength; ++j) prefix[j] = fold(static_cast<unsigned char>(needle[j]));
    const unsigned char* data = reinterpret_cast<const unsigned char*>(hay.data());
    const bytewords::PrefixBlock block(prefix, prefixLength);
    std::size_t i = from;
    for (; end - i >= bytewords::PrefixBlock::width; i += bytewords::PrefixBlock::width) {
        for (auto mask = block.mask(data + i); mask != 0; mask &= mask - 1) {
            const std::size_t p = i + bytewords::lowestFlag(mask, bytewords::PrefixBlock::shift);
            if (candidates.matchesAt(p)) return p;
        }
    }
    for (; i < end; ++i) {
        if (fold(data[i]) == prefix[0] && candidates.matchesAt(i)) return i;
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
