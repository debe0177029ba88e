// UTF-8 to code page 932 through iconv, as the converter library does it
// through the system's code pages, in one pass that also finds where the
// whole characters end: each character checked and decoded by arithmetic,
// given the code page's form, then written as the code page's bytes for
// it, which iconv tells once for each unit ('?' for one it lacks). ASCII
// stands for itself.
#include "links/nkf/nkf_iconv.h"

#include <iconv.h>
#include <string.h>

#include "common/byte_words.h"
#include "links/nkf/nkf_convert.h"

namespace nkf {
namespace {

// The code page's bytes for a unit beyond ASCII, given its form, as one
// number (a lead byte, always 0x81 or more, and its trail; or a single
// byte), '?' for a unit the code page lacks. Each is asked of iconv once
// and kept: a page holds a few thousand different characters at most.
unsigned short known[0x10000];  // 0: not asked yet

unsigned short askIconv(unsigned short character) {
    static iconv_t toCp932 = iconv_open("CP932", "UTF-16LE");
    const unsigned unit = cp932Form(character);
    char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char* p = pair;
    size_t pLeft = 2;
    unsigned char bytes[2];
    char* o = reinterpret_cast<char*>(bytes);
    size_t oLeft = 2;
    iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
    unsigned short k;
    if (iconv(toCp932, &p, &pLeft, &o, &oLeft) == static_cast<size_t>(-1) || oLeft == 2) k = '?';
    else if (oLeft == 1) k = bytes[0];
    else k = static_cast<unsigned short>(bytes[0] << 8 | bytes[1]);
    known[character] = k;
    return k;
}

inline unsigned short cp932Of(unsigned short unit) {
    const unsigned short k = known[unit];
    return k != 0 ? k : askIconv(unit);
}

}  // namespace

size_t iconvUtf8ToCp932(const char* utf8, size_t length, char* out, size_t* consumed) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(utf8);
    size_t written = 0;
    size_t i = 0;
    while (i < length) {
        if (in[i] < 0x80) {
            // A word at a time where one is left, up to the first byte
            // beyond ASCII. The word fits: no character is longer in the
            // code page than in UTF-8, so `written` never passes `i`.
            if (length - i >= sizeof(bytewords::Word)) {
                const bytewords::Word w = bytewords::load(in + i);
                memcpy(out + written, &w, sizeof w);
                const bytewords::Word high = w & bytewords::highBits;
                const size_t n = high != 0 ? bytewords::lowestFlag(high, 3) : sizeof w;
                i += n;
                written += n;
                continue;
            }
            out[written++] = static_cast<char>(in[i++]);
            continue;
        }
        const size_t n = utf8CharLength(in + i, length - i);
        if (n == 0) break;
        unsigned long point = in[i] & (0x7Fu >> n);
        for (size_t j = 1; j < n; ++j) point = point << 6 | (in[i + j] & 0x3Fu);
        i += n;
        // The same steps as the forms of UTF-16 text: a character beyond
        // the first plane is a surrogate pair there, one '?' for the code
        // page; a byte-order mark is dropped.
        if (point >= 0x10000) {
            out[written++] = '?';
            continue;
        }
        if (point == 0xFEFF) continue;
        const unsigned short bytes = cp932Of(static_cast<unsigned short>(point));
        if (bytes > 0xFF) out[written++] = static_cast<char>(bytes >> 8);
        out[written++] = static_cast<char>(bytes & 0xFF);
    }
    *consumed = i;
    return written;
}

}  // namespace nkf
