// Conversion into code page 932. Output goes through one bounded writer
// that stops at the first character that no longer fits, so the text never
// ends in half a character and never passes its capacity.
#include "links/nkf/nkf_convert.h"

#include <string.h>

#include "common/byte_words.h"

namespace nkf {
namespace {

class Writer {
public:
    Writer(char* out, size_t capacity) : out_(out), limit_(capacity - 1) {}
    bool full() const { return full_; }
    size_t length() const { return length_; }
    void put(unsigned char c) {
        if (full_ || length_ + 1 > limit_) { full_ = true; return; }
        out_[length_++] = static_cast<char>(c);
    }
    void put(unsigned char lead, unsigned char trail) {
        if (full_ || length_ + 2 > limit_) { full_ = true; return; }
        out_[length_++] = static_cast<char>(lead);
        out_[length_++] = static_cast<char>(trail);
    }
    // Bytes that stand for themselves (ASCII), as many as fit.
    void putSame(const unsigned char* text, size_t length) {
        if (full_) return;
        const size_t room = limit_ - length_;
        const size_t n = length < room ? length : room;
        memcpy(out_ + length_, text, n);
        length_ += n;
        if (n < length) full_ = true;
    }
    // Code page 932 text, character by character (ASCII a run at a time).
    void putCp932(const unsigned char* text, size_t length) {
        for (size_t i = 0; i < length && !full_;) {
            if (text[i] < 0x80) {
                const size_t end = bytewords::asciiRunEnd(text, i, length);
                putSame(text + i, end - i);
                i = end;
                continue;
            }
            const bool lead = ((text[i] >= 0x81 && text[i] <= 0x9F) || (text[i] >= 0xE0 && text[i] <= 0xFC));
            if (lead && i + 1 < length) {
                put(text[i], text[i + 1]);
                i += 2;
            } else {
                put(lead ? '?' : text[i]);
                ++i;
            }
        }
    }
    // Where `n` more bytes may be written at once, or null when fewer fit;
    // what was written there is then taken with took().
    char* room(size_t n) { return full_ || limit_ - length_ < n ? nullptr : out_ + length_; }
    void took(size_t n) { length_ += n; }
    void finish() { out_[length_] = '\0'; }

private:
    char* out_;
    size_t limit_;
    size_t length_ = 0;
    bool full_ = false;
};

// JIS X 0208 rows 1 to 84 (0x21..0x74) are in the code page; the rows
// after them are not.
void putJis(Writer& w, unsigned char j1, unsigned char j2) {
    if (j1 < 0x21 || j1 > 0x74 || j2 < 0x21 || j2 > 0x7E) {
        w.put('?');
        return;
    }
    unsigned char sjis[2];
    jisToSjis(j1, j2, sjis);
    w.put(sjis[0], sjis[1]);
}

void fromEucJp(Writer& w, const unsigned char* in, size_t length) {
    for (size_t i = 0; i < length && !w.full();) {
        const unsigned char c = in[i];
        const unsigned char next = i + 1 < length ? in[i + 1] : 0;
        if (c < 0x80) {
            const size_t end = bytewords::asciiRunEnd(in, i, length);
            w.putSame(in + i, end - i);
            i = end;
        } else if (c == 0x8E && next >= 0xA1 && next <= 0xDF) {
            w.put(next);  // half-width katakana
            i += 2;
        } else if (c == 0x8F && next >= 0xA1 && next <= 0xFE && i + 2 < length && in[i + 2] >= 0xA1 &&
                   in[i + 2] <= 0xFE) {
            w.put('?');  // JIS X 0212 is not in the code page
            i += 3;
        } else if (c >= 0xA1 && c <= 0xFE && next >= 0xA1 && next <= 0xFE) {
            putJis(w, c - 0x80, next - 0x80);
            i += 2;
        } else {
            w.put('?');
            ++i;
        }
    }
}

void fromIso2022Jp(Writer& w, const unsigned char* in, size_t length) {
    enum Mode { ascii, kanji, kana, supplementary } mode = ascii, shifted = ascii;
    bool shiftOut = false;
    for (size_t i = 0; i < length && !w.full();) {
        const unsigned char c = in[i];
        if (c == 0x1B) {
            const unsigned char a = i + 1 < length ? in[i + 1] : 0;
            const unsigned char b = i + 2 < length ? in[i + 2] : 0;
            const unsigned char d = i + 3 < length ? in[i + 3] : 0;
            if (a == '(' && (b == 'B' || b == 'J')) { mode = ascii; i += 3; continue; }
            if (a == '(' && b == 'I') { mode = kana; i += 3; continue; }
            if (a == '$' && (b == 'B' || b == '@')) { mode = kanji; i += 3; continue; }
            // JIS X 0213 plane 1 holds JIS X 0208 at the same places.
            if (a == '$' && b == '(' && (d == 'Q' || d == 'O' || d == 'B')) { mode = kanji; i += 4; continue; }
            if (a == '$' && b == '(' && d == 'D') { mode = supplementary; i += 4; continue; }
            w.put('?');
            ++i;
            continue;
        }
        if (c == 0x0E) { shifted = mode; shiftOut = true; mode = kana; ++i; continue; }
        if (c == 0x0F) { if (shiftOut) mode = shifted; shiftOut = false; ++i; continue; }
        if (c >= 0x80) {
            w.put('?');
            ++i;
        } else if (c < 0x21 || c == 0x7F || mode == ascii) {
            w.put(c);
            ++i;
        } else if (mode == kana) {
            w.put(c <= 0x5F ? static_cast<unsigned char>(c + 0x80) : '?');
            ++i;
        } else if (i + 1 < length && in[i + 1] >= 0x21 && in[i + 1] <= 0x7E) {
            if (mode == kanji) putJis(w, c, in[i + 1]);
            else w.put('?');
            i += 2;
        } else {
            w.put('?');
            ++i;
        }
    }
}

void fromUtf8(Writer& w, const unsigned char* in, size_t length, Utf8Converter utf8) {
    char converted[2 * utf8ChunkBytes];
    for (size_t i = 0; i < length && !w.full();) {
        if (in[i] < 0x80) {
            const size_t end = bytewords::asciiRunEnd(in, i, length);
            w.putSame(in + i, end - i);
            i = end;
            continue;
        }
        // The converter takes the whole characters of a chunk, ASCII
        // among them, and writes whole characters: where twice the chunk
        // fits, straight into the text.
        const size_t chunk = length - i < utf8ChunkBytes ? length - i : utf8ChunkBytes;
        const char* run = reinterpret_cast<const char*>(in + i);
        size_t consumed = 0;
        if (char* at = w.room(2 * chunk)) {
            w.took(utf8(run, chunk, at, &consumed));
        } else {
            const size_t n = utf8(run, chunk, converted, &consumed);
            w.putCp932(reinterpret_cast<const unsigned char*>(converted), n);
        }
        if (consumed > 0) {
            i += consumed < chunk ? consumed : chunk;
            continue;
        }
        // A broken sequence: its lead byte and the continuation bytes that
        // follow it within the length it announces become one '?'.
        const unsigned char c = in[i];
        size_t announced = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        ++i;
        while (--announced > 0 && i < length && (in[i] & 0xC0) == 0x80) ++i;
        w.put('?');
    }
}

}  // namespace

void jisToSjis(unsigned char j1, unsigned char j2, unsigned char out[2]) {
    unsigned lead = ((j1 - 0x21u) >> 1) + 0x81u;
    if (lead > 0x9F) lead += 0x40;
    unsigned trail;
    if (j1 & 1) {
        trail = j2 + 0x1Fu;
        if (trail >= 0x7F) ++trail;
    } else {
        trail = j2 + 0x7Eu;
    }
    out[0] = static_cast<unsigned char>(lead);
    out[1] = static_cast<unsigned char>(trail);
}

size_t wholeUtf8Length(const unsigned char* text, size_t length) {
    size_t i = 0;
    while (i < length) {
        if (text[i] < 0x80) {
            i = bytewords::asciiRunEnd(text, i, length);
            continue;
        }
        const size_t n = utf8CharLength(text + i, length - i);
        if (n == 0) break;
        i += n;
    }
    return i;
}

unsigned cp932Form(unsigned unit) {
    switch (unit) {
        case 0x301C: return 0xFF5E;  // wave dash
        case 0x2016: return 0x2225;  // double vertical line
        case 0x2212: return 0xFF0D;  // minus sign
        case 0x00A2: return 0xFFE0;  // cent sign
        case 0x00A3: return 0xFFE1;  // pound sign
        case 0x00AC: return 0xFFE2;  // not sign
        case 0x00A6: return 0xFFE4;  // broken bar
        case 0x2014: return 0x2015;  // em dash
        default: return unit;
    }
}

size_t convertToCp932(const unsigned char* in, size_t length, Encoding from, char* out,
                      size_t capacity, Utf8Converter utf8) {
    if (capacity == 0) return 0;
    Writer w(out, capacity);
    switch (from) {
        case encodingEucJp: fromEucJp(w, in, length); break;
        case encodingIso2022Jp: fromIso2022Jp(w, in, length); break;
        case encodingUtf8:
            if (utf8) {
                fromUtf8(w, in, length, utf8);
                break;
            }
            w.putCp932(in, length);
            break;
        default:
            // ASCII and Shift_JIS stay as they are.
            if (length <= capacity - 1) {
                memcpy(out, in, length);
                out[length] = '\0';
                return length;
            }
            w.putCp932(in, length);
            break;
    }
    w.finish();
    return w.length();
}

void convertPage(const char* in, char* out, Utf8Converter utf8) {
    const size_t length = strlen(in);
    const size_t capacity = length == 0 ? 1 : 3 * length;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(in);
    size_t bom = 0;
    const Encoding from = detectEncoding(text, length, &bom);
    convertToCp932(text + bom, length - bom, from, out, capacity, utf8);
}

}  // namespace nkf
