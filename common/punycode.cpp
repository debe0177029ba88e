// Punycode, RFC 3492 section 6.3, with the parameters of section 5.
#include "common/punycode.h"

#include <cstdint>

namespace punycode {

namespace {

constexpr std::uint32_t base = 36, tMin = 1, tMax = 26, skew = 38, damp = 700;
constexpr std::uint32_t initialBias = 72, initialN = 0x80;
constexpr std::uint32_t maxInt = 0xFFFFFFFFu;

char digit(std::uint32_t d) { return static_cast<char>(d < 26 ? 'a' + d : '0' + (d - 26)); }

std::uint32_t adapt(std::uint32_t delta, std::uint32_t points, bool first) {
    delta = first ? delta / damp : delta / 2;
    delta += delta / points;
    std::uint32_t k = 0;
    while (delta > ((base - tMin) * tMax) / 2) {
        delta /= base - tMin;
        k += base;
    }
    return k + (base - tMin + 1) * delta / (delta + skew);
}

}  // namespace

bool encode(const std::u32string& label, std::string& out) {
    out.clear();
    std::uint32_t basic = 0;
    for (char32_t c : label) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++basic;
        }
    }
    std::uint32_t handled = basic;
    if (basic > 0) out += '-';
    std::uint32_t n = initialN, delta = 0, bias = initialBias;
    const std::uint32_t length = static_cast<std::uint32_t>(label.size());
    while (handled < length) {
        std::uint32_t m = maxInt;
        for (char32_t c : label)
            if (c >= n && c < m) m = c;
        if (m - n > (maxInt - delta) / (handled + 1)) return false;
        delta += (m - n) * (handled + 1);
        n = m;
        for (char32_t c : label) {
            if (c < n && ++delta == 0) return false;
            if (c != n) continue;
            std::uint32_t q = delta;
            for (std::uint32_t k = base;; k += base) {
                const std::uint32_t t = k <= bias ? tMin : k >= bias + tMax ? tMax : k - bias;
                if (q < t) break;
                out += digit(t + (q - t) % (base - t));
                q = (q - t) / (base - t);
            }
            out += digit(q);
            bias = adapt(delta, handled + 1, handled == basic);
            delta = 0;
            ++handled;
        }
        ++delta;
        ++n;
    }
    return true;
}

}  // namespace punycode
