// Unicode forms of outside text: UTF-16, UTF-8, UTF-7, percent escapes.
#include "common/unicode.h"

namespace unicode {

namespace {

bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Length of the well-formed UTF-8 character at `i` and its value; 0 when
// the bytes there begin none.
std::size_t utf8At(std::string_view s, std::size_t i, char32_t& c) {
    const unsigned char b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    std::size_t length;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        min = 0x80;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        min = 0x800;
        c = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        min = 0x10000;
        c = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

char32_t next(std::u16string_view text, std::size_t& i) {
    const char16_t u = text[i++];
    if (isHigh(u) && i < text.size() && isLow(text[i])) {
        const char16_t low = text[i++];
        return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
    }
    if (isHigh(u) || isLow(u)) return replacement;
    return u;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

std::u16string fromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = utf8At(utf8, i, c);
        if (length == 0) {
            out += static_cast<char16_t>(replacement);
            ++i;
            continue;
        }
        appendUtf16(out, c);
        i += length;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendPercentEncoded(std::string& out, char32_t c) {
    static const char digits[] = "0123456789ABCDEF";
    std::string bytes;
    appendUtf8(bytes, c);
    for (unsigned char b : bytes) {
        out += '%';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
}

int percentEscapedByte(std::string_view s, std::size_t i) {
    auto hex = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (i + 2 >= s.size() || s[i] != '%') return -1;
    const int high = hex(s[i + 1]), low = hex(s[i + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool fromUtf7(std::string_view utf7, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf7.size();) {
        const char c = utf7[i++];
        if (c != '+') {
            out += static_cast<char16_t>(static_cast<unsigned char>(c));
            continue;
        }
        if (i < utf7.size() && utf7[i] == '-') {
            out += u'+';
            ++i;
            continue;
        }
        unsigned long bits = 0;
        int bitCount = 0;
        bool unit = false;
        while (i < utf7.size()) {
            const int value = base64Value(utf7[i]);
            if (value < 0) break;
            ++i;
            bits = ((bits << 6) | static_cast<unsigned long>(value)) & 0x3FFFFF;
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                out += static_cast<char16_t>((bits >> bitCount) & 0xFFFF);
                unit = true;
            }
        }
        if (!unit) return false;
        if (i < utf7.size() && utf7[i] == '-') ++i;
    }
    return true;
}

}  // namespace unicode
