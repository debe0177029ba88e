// The fuzz targets' UTF-8 step: a fixed double-byte character per code
// point, so output length and character boundaries vary like the real
// step's.
#include "tests/fuzz/support/fuzz_utf8_step.h"

#include "links/nkf/nkf_convert.h"

std::size_t fuzzUtf8ToCp932(const char* utf8, std::size_t length, char* out, std::size_t* consumed) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8);
    std::size_t written = 0;
    std::size_t i = 0;
    while (i < length) {
        const std::size_t n = nkf::utf8CharLength(in + i, length - i);
        if (n == 0) break;
        unsigned cp = in[i];
        if (n > 1) {
            cp = in[i] & (0x7Fu >> n);
            for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (in[i + k] & 0x3Fu);
        }
        i += n;
        if (cp < 0x80) {
            out[written++] = static_cast<char>(cp);
        } else if (cp % 7 == 0 || cp > 0xFFFF) {
            out[written++] = '?';  // not in the code page
        } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
            out[written++] = static_cast<char>(cp - 0xFF61 + 0xA1);  // half-width katakana
        } else {
            unsigned trail = 0x40 + cp % 0xBC;
            if (trail >= 0x7F) ++trail;
            out[written++] = static_cast<char>(0x81 + (cp >> 8) % 0x1F);
            out[written++] = static_cast<char>(trail);
        }
    }
    *consumed = i;
    return written;
}
