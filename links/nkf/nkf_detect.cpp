// Telling Japanese encodings apart. A declaration in the page is believed
// when the bytes bear it out (pages saved by a browser often keep the
// declaration of the encoding they were served in); otherwise the bytes
// decide: UTF-8 is strict enough to recognise even with a broken character
// or two, and EUC-JP and Shift_JIS differ in which lead bytes are common.
#include "links/nkf/nkf_detect.h"

#include <string.h>

#include "common/byte_words.h"
#include "links/nkf/nkf_convert.h"

namespace nkf {
namespace {

// How far into the page a declaration is looked for.
const size_t declarationWindow = 8192;
// How many non-ASCII characters each reading of the bytes counts at most.
const size_t sampleCharacters = 4096;

unsigned char lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool equalsNoCase(const char* a, size_t length, const char* b) {
    size_t i = 0;
    for (; i < length && b[i] != '\0'; ++i)
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
    return i == length && b[i] == '\0';
}

// Position of `word` (lower case) in text[from, to), or `to`.
size_t findNoCase(const unsigned char* text, size_t from, size_t to, const char* word) {
    const size_t n = strlen(word);
    for (size_t i = from; i + n <= to; ++i) {
        size_t j = 0;
        while (j < n && lower(text[i + j]) == static_cast<unsigned char>(word[j])) ++j;
        if (j == n) return i;
    }
    return to;
}

bool isNameChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

// The encoding named after `key` in text[from, to): key, blanks, '=',
// blanks and quotes, then the name.
Encoding namedAfter(const unsigned char* text, size_t from, size_t to, const char* key) {
    size_t at = findNoCase(text, from, to, key);
    while (at < to) {
        size_t i = at + strlen(key);
        while (i < to && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
        if (i < to && text[i] == '=') {
            ++i;
            while (i < to && (text[i] == ' ' || text[i] == '"' || text[i] == '\'')) ++i;
            const size_t start = i;
            while (i < to && isNameChar(text[i])) ++i;
            return encodingByName(reinterpret_cast<const char*>(text + start), i - start);
        }
        at = findNoCase(text, at + 1, to, key);
    }
    return encodingUnknown;
}

struct Reading {
    size_t valid = 0;    // well-formed multi-byte characters
    size_t invalid = 0;  // bytes that fit no character
    size_t common = 0;   // characters of the most frequent rows (kana, level-1 kanji)
    size_t total() const { return valid + invalid; }
};

Reading readAsUtf8(const unsigned char* text, size_t length) {
    Reading r;
    for (size_t i = 0; i < length && r.total() < sampleCharacters;) {
        if (text[i] < 0x80) {
            i = bytewords::asciiRunEnd(text, i, length);
            continue;
        }
        const size_t n = utf8CharLength(text + i, length - i);
        if (n > 0) {
            ++r.valid;
            i += n;
        } else {
            ++r.invalid;
            ++i;
        }
    }
    return r;
}

Reading readAsEucJp(const unsigned char* text, size_t length) {
    Reading r;
    for (size_t i = 0; i < length && r.total() < sampleCharacters;) {
        const unsigned char c = text[i];
        const unsigned char next = i + 1 < length ? text[i + 1] : 0;
        if (c < 0x80) {
            i = bytewords::asciiRunEnd(text, i, length);
        } else if (c == 0x8E && next >= 0xA1 && next <= 0xDF) {
            ++r.valid;
            i += 2;
        } else if (c == 0x8F && next >= 0xA1 && next <= 0xFE && i + 2 < length && text[i + 2] >= 0xA1 &&
                   text[i + 2] <= 0xFE) {
            ++r.valid;
            i += 3;
        } else if (c >= 0xA1 && c <= 0xFE && next >= 0xA1 && next <= 0xFE) {
            ++r.valid;
            if (c <= 0xCF) ++r.common;
            i += 2;
        } else {
            ++r.invalid;
            ++i;
        }
    }
    return r;
}

bool isSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool isSjisTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

Reading readAsShiftJis(const unsigned char* text, size_t length) {
    Reading r;
    for (size_t i = 0; i < length && r.total() < sampleCharacters;) {
        const unsigned char c = text[i];
        if (c < 0x80) {
            i = bytewords::asciiRunEnd(text, i, length);
        } else if (c >= 0xA1 && c <= 0xDF) {
            ++r.valid;  // a half-width katakana
            ++i;
        } else if (isSjisLead(c) && i + 1 < length && isSjisTrail(text[i + 1])) {
            ++r.valid;
            if (c <= 0x9F) ++r.common;
            i += 2;
        } else {
            ++r.invalid;
            ++i;
        }
    }
    return r;
}

bool hasHighBytes(const unsigned char* text, size_t length) {
    return bytewords::asciiRunEnd(text, 0, length) < length;
}

bool hasIso2022Escape(const unsigned char* text, size_t length) {
    for (size_t i = 0; i + 2 < length; ++i) {
        const void* escape = memchr(text + i, 0x1B, length - 2 - i);
        if (!escape) return false;
        i = static_cast<size_t>(static_cast<const unsigned char*>(escape) - text);
        const unsigned char a = text[i + 1], b = text[i + 2];
        if ((a == '$' && (b == 'B' || b == '@' || b == '(')) || (a == '(' && (b == 'B' || b == 'J' || b == 'I')))
            return true;
    }
    return false;
}

// A few broken characters do not make a text something else.
bool mostlyValid(const Reading& r) { return r.valid > 0 && r.invalid * 4 <= r.valid; }

// Whether the bytes can be in the declared encoding.
bool bearsOut(Encoding declared, const unsigned char* text, size_t length) {
    if (!hasHighBytes(text, length)) return true;
    // UTF-8 is too strict to come about by chance: bytes that read as it
    // are it, whatever the page says.
    const bool utf8 = mostlyValid(readAsUtf8(text, length));
    switch (declared) {
        case encodingUtf8: return utf8;
        case encodingEucJp: return !utf8 && mostlyValid(readAsEucJp(text, length));
        case encodingShiftJis: return !utf8 && mostlyValid(readAsShiftJis(text, length));
        case encodingIso2022Jp: return false;  // a seven-bit encoding
        default: return false;
    }
}

}  // namespace

Encoding encodingByName(const char* name, size_t length) {
    static const char* const utf8[] = {"utf-8", "utf8", "unicode-1-1-utf-8", "x-unicode20utf8", 0};
    static const char* const sjis[] = {"shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932",
                                       "ms932", "ms_kanji", "csshiftjis", "x-ms-cp932", "csWindows31J", 0};
    static const char* const euc[] = {"euc-jp", "x-euc-jp", "eucjp", "euc_jp", "cseucpkdfmtjapanese",
                                      "x-euc", "eucjp-ms", "cp51932", 0};
    static const char* const jis[] = {"iso-2022-jp", "csiso2022jp", "iso2022jp", "jis", 0};
    struct Names { const char* const* names; Encoding encoding; };
    const Names all[] = {{utf8, encodingUtf8}, {sjis, encodingShiftJis}, {euc, encodingEucJp},
                         {jis, encodingIso2022Jp}};
    for (const Names& group : all)
        for (const char* const* n = group.names; *n; ++n)
            if (equalsNoCase(name, length, *n)) return group.encoding;
    return encodingUnknown;
}

Encoding declaredEncoding(const unsigned char* text, size_t length) {
    const size_t window = length < declarationWindow ? length : declarationWindow;
    // <?xml version="1.0" encoding="EUC-JP"?>
    size_t start = 0;
    while (start < window && (text[start] == ' ' || text[start] == '\r' || text[start] == '\n' || text[start] == '\t'))
        ++start;
    if (findNoCase(text, start, window, "<?xml") == start) {
        const size_t end = findNoCase(text, start, window, "?>");
        const Encoding e = namedAfter(text, start, end, "encoding");
        if (e != encodingUnknown) return e;
    }
    // <meta charset="utf-8">, <meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">
    for (size_t at = findNoCase(text, 0, window, "<meta"); at < window;
         at = findNoCase(text, at + 5, window, "<meta")) {
        // The tag ends at its '>' or with the window: a page of "<meta"
        // without one must not have every tag read to the page's end.
        size_t end = at + 5;
        while (end < window && text[end] != '>') ++end;
        const Encoding e = namedAfter(text, at + 5, end, "charset");
        if (e != encodingUnknown) return e;
    }
    return encodingUnknown;
}

Encoding guessEncoding(const unsigned char* text, size_t length) {
    if (!hasHighBytes(text, length))
        return hasIso2022Escape(text, length) ? encodingIso2022Jp : encodingAscii;
    const Reading utf8 = readAsUtf8(text, length);
    if (mostlyValid(utf8)) return encodingUtf8;
    const Reading euc = readAsEucJp(text, length);
    const Reading sjis = readAsShiftJis(text, length);
    if (euc.invalid != sjis.invalid) return euc.invalid < sjis.invalid ? encodingEucJp : encodingShiftJis;
    return euc.common > sjis.common ? encodingEucJp : encodingShiftJis;
}

Encoding detectEncoding(const unsigned char* text, size_t length, size_t* bomLength) {
    *bomLength = 0;
    if (length >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF) {
        *bomLength = 3;
        return encodingUtf8;
    }
    const Encoding declared = declaredEncoding(text, length);
    if (declared != encodingUnknown && bearsOut(declared, text, length)) return declared;
    return guessEncoding(text, length);
}

}  // namespace nkf
