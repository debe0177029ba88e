// UTF-8 to code page 932 through iconv, as the converter library does it
// through the system's code pages: UTF-8 to UTF-16 (by arithmetic: the
// characters are whole and valid), the code page's forms, then the units
// to the code page, whose bytes for each unit iconv tells once ('?' for a
// unit it lacks). ASCII stands for itself.
#include "links/nkf/nkf_iconv.h"

#include <iconv.h>
#include <string.h>

#include <vector>

#include "common/byte_words.h"
#include "links/nkf/nkf_convert.h"

namespace nkf {
namespace {

// The code page's bytes for a unit beyond ASCII, as one number (a lead
// byte, always 0x81 or more, and its trail; or a single byte), '?' for a
// unit the code page lacks. Each is asked of iconv once and kept: a page
// holds a few thousand different characters at most.
unsigned short cp932Of(unsigned short unit) {
    static iconv_t toCp932 = iconv_open("CP932", "UTF-16LE");
    static unsigned short known[0x10000];  // 0: not asked yet
    unsigned short& k = known[unit];
    if (k != 0) return k;
    char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char* p = pair;
    size_t pLeft = 2;
    unsigned char bytes[2];
    char* o = reinterpret_cast<char*>(bytes);
    size_t oLeft = 2;
    iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toCp932, &p, &pLeft, &o, &oLeft) == static_cast<size_t>(-1) || oLeft == 2) k = '?';
    else if (oLeft == 1) k = bytes[0];
    else k = static_cast<unsigned short>(bytes[0] << 8 | bytes[1]);
    return k;
}

// Appends the UTF-16 units of the whole, valid UTF-8 characters that do
// not begin with an ASCII byte from `i` on (what the caller hands over):
// two for a character beyond the first plane. Returns where they end.
size_t appendUnits(const unsigned char* in, size_t i, size_t length, std::vector<unsigned short>& units) {
    while (i < length && in[i] >= 0x80) {
        const size_t n = utf8CharLength(in + i, length - i);
        if (n == 0) {
            units.push_back('?');
            ++i;
            continue;
        }
        unsigned long point = in[i] & (0x7Fu >> n);
        for (size_t j = 1; j < n; ++j) point = point << 6 | (in[i + j] & 0x3Fu);
        i += n;
        if (point >= 0x10000) {
            point -= 0x10000;
            units.push_back(static_cast<unsigned short>(0xD800 | point >> 10));
            units.push_back(static_cast<unsigned short>(0xDC00 | (point & 0x3FF)));
        } else {
            units.push_back(static_cast<unsigned short>(point));
        }
    }
    return i;
}

}  // namespace

size_t iconvUtf8ToCp932(const char* utf8, size_t length, char* out) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(utf8);
    std::vector<unsigned short> units;
    size_t written = 0;
    for (size_t i = 0; i < length;) {
        if (in[i] < 0x80) {
            const size_t end = bytewords::asciiRunEnd(in, i, length);
            memcpy(out + written, in + i, end - i);
            written += end - i;
            i = end;
            continue;
        }
        // The forms and the code page look at no unit but the one, or a
        // surrogate pair, so a run between ASCII goes alone.
        units.clear();
        i = appendUnits(in, i, length, units);
        units.resize(prepareWideForCp932(units.data(), units.size()));
        for (unsigned short unit : units) {
            const unsigned short bytes = unit < 0x80 ? unit : cp932Of(unit);
            if (bytes > 0xFF) out[written++] = static_cast<char>(bytes >> 8);
            out[written++] = static_cast<char>(bytes & 0xFF);
        }
    }
    return written;
}

}  // namespace nkf
