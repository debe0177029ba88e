// UTF-8 to code page 932 for tests, the way the converter library does it.
#include "tests/support/utf8_step.h"

#include <cstring>
#include <vector>

#ifdef _WIN32
#include "links/nkf/nkf_system.h"
#else
#include <iconv.h>
#endif

namespace {

#ifndef _WIN32
// UTF-8 to UTF-16, the code page's forms, then each unit to code page 932
// with '?' for what it lacks: the steps of the Windows library.
std::size_t iconvUtf8ToCp932(const char* utf8, std::size_t length, char* out) {
    static iconv_t toWide = iconv_open("UTF-16LE", "UTF-8");
    static iconv_t toCp932 = iconv_open("CP932", "UTF-16LE");
    std::vector<char> wideBytes(4 * length + 4);
    char* in = const_cast<char*>(utf8);
    std::size_t inLeft = length;
    char* wideOut = wideBytes.data();
    std::size_t wideLeft = wideBytes.size();
    iconv(toWide, nullptr, nullptr, nullptr, nullptr);
    iconv(toWide, &in, &inLeft, &wideOut, &wideLeft);
    std::vector<unsigned short> units((wideBytes.size() - wideLeft) / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<unsigned short>(static_cast<unsigned char>(wideBytes[2 * i]) |
                                               static_cast<unsigned char>(wideBytes[2 * i + 1]) << 8);
    units.resize(nkf::prepareWideForCp932(units.data(), units.size()));
    std::size_t written = 0;
    for (unsigned short unit : units) {
        char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char* p = pair;
        std::size_t pLeft = 2;
        char* o = out + written;
        std::size_t oLeft = 2;
        iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toCp932, &p, &pLeft, &o, &oLeft) == static_cast<std::size_t>(-1) || oLeft == 2) {
            out[written++] = '?';
        } else {
            written += 2 - oLeft;
        }
    }
    return written;
}
#endif

}  // namespace

nkf::Utf8Converter testUtf8Step() {
#ifdef _WIN32
    return nkf::systemUtf8ToCp932;
#else
    return iconvUtf8ToCp932;
#endif
}

std::string convertLikeNkf32(const std::string& page) {
    const std::size_t length = std::strlen(page.c_str());
    std::vector<char> out(3 * length + 1, '\x7f');
    nkf::convertPage(page.c_str(), out.data(), testUtf8Step());
    return std::string(out.data());
}
