// UTF-8 to code page 932 for tests, the way the converter library does it.
#include "tests/support/utf8_step.h"

#include <cstring>
#include <vector>

#ifdef _WIN32
#include "links/nkf/nkf_system.h"
#else
#include "links/nkf/nkf_iconv.h"
#endif

nkf::Utf8Converter testUtf8Step() {
#ifdef _WIN32
    return nkf::systemUtf8ToCp932;
#else
    return nkf::iconvUtf8ToCp932;
#endif
}

std::string convertLikeNkf32(const std::string& page) {
    const std::size_t length = std::strlen(page.c_str());
    std::vector<char> out(3 * length + 1, '\x7f');
    nkf::convertPage(page.c_str(), out.data(), testUtf8Step());
    return std::string(out.data());
}
