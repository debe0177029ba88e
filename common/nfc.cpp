// NFC: full canonical decomposition, canonical order of the marks, then
// composition of what is not blocked. Hangul syllables are computed.
#include "common/nfc.h"

#include "common/idna_data.h"

namespace idna {

namespace {

constexpr char32_t sBase = 0xAC00, lBase = 0x1100, vBase = 0x1161, tBase = 0x11A7;
constexpr char32_t lCount = 19, vCount = 21, tCount = 28, nCount = vCount * tCount, sCount = lCount * nCount;

void decomposeInto(char32_t c, std::u32string& out) {
    if (c >= sBase && c < sBase + sCount) {
        const char32_t s = c - sBase;
        out += lBase + s / nCount;
        out += vBase + s % nCount / tCount;
        if (s % tCount != 0) out += tBase + s % tCount;
        return;
    }
    char32_t first = 0, second = 0;
    if (!decompose(c, first, second)) {
        out += c;
        return;
    }
    decomposeInto(first, out);
    out += second;
}

unsigned combiningClass(char32_t c) { return propertiesOf(c).combiningClass; }

char32_t composePair(char32_t first, char32_t second) {
    if (first >= lBase && first < lBase + lCount && second >= vBase && second < vBase + vCount)
        return sBase + ((first - lBase) * vCount + (second - vBase)) * tCount;
    if (first >= sBase && first < sBase + sCount && (first - sBase) % tCount == 0 && second > tBase &&
        second < tBase + tCount)
        return first + (second - tBase);
    return compose(first, second);
}

}  // namespace

void toNfc(std::u32string& s) {
    std::u32string d;
    d.reserve(s.size() + 4);
    for (char32_t c : s) decomposeInto(c, d);
    // Marks in order of their classes; a starter (class 0) stays put.
    for (std::size_t i = 1; i < d.size(); ++i) {
        const unsigned cc = combiningClass(d[i]);
        if (cc == 0) continue;
        for (std::size_t k = i; k > 0; --k) {
            const unsigned before = combiningClass(d[k - 1]);
            if (before == 0 || before <= cc) break;
            std::swap(d[k - 1], d[k]);
        }
    }
    s.clear();
    std::size_t starter = std::u32string::npos;
    unsigned last = 0;  // class of the last character kept after the starter
    for (char32_t c : d) {
        const unsigned cc = combiningClass(c);
        if (starter != std::u32string::npos) {
            const bool blocked = s.size() - 1 > starter && (last == 0 || last >= cc);
            if (!blocked) {
                if (const char32_t composite = composePair(s[starter], c)) {
                    s[starter] = composite;
                    continue;
                }
            }
        }
        if (cc == 0) {
            starter = s.size();
            last = 0;
        } else {
            last = cc;
        }
        s += c;
    }
}

}  // namespace idna
