// UTF-8 to code page 932 through iconv, unit by unit, as the converter
// library does it through the system's code pages.
#include "links/nkf/nkf_iconv.h"

#include <iconv.h>

#include <vector>

#include "links/nkf/nkf_convert.h"

namespace nkf {

size_t iconvUtf8ToCp932(const char* utf8, size_t length, char* out) {
    static iconv_t toWide = iconv_open("UTF-16LE", "UTF-8");
    static iconv_t toCp932 = iconv_open("CP932", "UTF-16LE");
    std::vector<char> wideBytes(4 * length + 4);
    char* in = const_cast<char*>(utf8);
    size_t inLeft = length;
    char* wideOut = wideBytes.data();
    size_t wideLeft = wideBytes.size();
    iconv(toWide, nullptr, nullptr, nullptr, nullptr);
    iconv(toWide, &in, &inLeft, &wideOut, &wideLeft);
    std::vector<unsigned short> units((wideBytes.size() - wideLeft) / 2);
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<unsigned short>(static_cast<unsigned char>(wideBytes[2 * i]) |
                                               static_cast<unsigned char>(wideBytes[2 * i + 1]) << 8);
    units.resize(prepareWideForCp932(units.data(), units.size()));
    size_t written = 0;
    for (unsigned short unit : units) {
        char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char* p = pair;
        size_t pLeft = 2;
        char* o = out + written;
        size_t oLeft = 2;
        iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toCp932, &p, &pLeft, &o, &oLeft) == static_cast<size_t>(-1) || oLeft == 2) {
            out[written++] = '?';
        } else {
            written += 2 - oLeft;
        }
    }
    return written;
}

}  // namespace nkf
