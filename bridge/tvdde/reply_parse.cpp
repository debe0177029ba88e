// Reading and writing the comma-separated, quoted argument lists that
// browsers exchange over DDE. Replies come from other programs and are
// trusted for nothing: every scan stays inside the bytes it was given and
// steps over double-byte characters whole, so a trail byte that happens to
// be a backslash never acts as an escape.
#include "bridge/tvdde/reply_parse.h"

#include <string.h>

namespace tvdde {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// A lead byte counts as half of a pair only when a valid trail byte follows;
// otherwise it stands alone, so a malformed reply cannot swallow a quote.
size_t charLength(const char* s, size_t size, size_t i) {
    if (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < size &&
        isTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

size_t findComma(const char* s, size_t size, size_t pos) {
    for (size_t i = pos; i < size; i += charLength(s, size, i))
        if (s[i] == ',') return i;
    return noField;
}

ReplySpan bareField(const char* reply, size_t size, size_t pos) {
    const size_t comma = findComma(reply, size, pos);
    size_t begin = pos;
    size_t end = comma == noField ? size : comma;
    while (begin < end && isBlank(reply[begin])) ++begin;
    while (end > begin && isBlank(reply[end - 1])) --end;
    return ReplySpan{begin, end, false, comma == noField ? noField : comma + 1};
}

// Writes a field into a caller's buffer of fieldCapacity bytes, cut there.
void put(char* dst, const char* reply, size_t size, ReplySpan span, bool present) {
    if (dst == nullptr) return;
    char text[fieldCapacity] = {};  // zeroed: an absent field reads nothing, which GCC cannot see
    size_t length = present ? replyFieldText(reply, size, span, text, sizeof text) : 0;
    size_t kept = cutLength(text, length, fieldCapacity);
    memcpy(dst, text, kept);
    dst[kept] = '\0';
}

}  // namespace

ReplySpan findReplyField(const char* reply, size_t size, size_t pos) {
    while (pos < size && isBlank(reply[pos])) ++pos;
    if (pos >= size) return ReplySpan{size, size, false, noField};
    if (reply[pos] != '"') return bareField(reply, size, pos);

    size_t i = pos + 1;
    while (i < size) {
        size_t len = charLength(reply, size, i);
        const char c = reply[i];
        if (len == 1 && c == '\\' && i + 1 < size && reply[i + 1] == '"') {
            len = 2;
        } else if (len == 1 && c == '"') {
            const size_t comma = findComma(reply, size, i + 1);
            return ReplySpan{pos + 1, i, true, comma == noField ? noField : comma + 1};
        }
        i += len;
    }
    // No closing quote: read it as if the quotes were missing altogether.
    return bareField(reply, size, pos + 1);
}

size_t replyFieldText(const char* reply, size_t size, ReplySpan span, char* out, size_t room) {
    size_t length = 0;
    for (size_t i = span.begin; i < span.end;) {
        size_t len = span.quoted ? charLength(reply, size, i) : 1;
        char c = reply[i];
        if (span.quoted && len == 1 && c == '\\' && i + 1 < size && reply[i + 1] == '"') {
            c = '"';
            len = 2;
        } else if (len == 2) {
            if (out != nullptr && length < room) out[length] = c;
            ++length;
            c = reply[i + 1];
        }
        if (out != nullptr && length < room) out[length] = c;
        ++length;
        i += len;
    }
    return length;
}

size_t cutLength(const char* text, size_t length, size_t capacity) {
    if (capacity == 0) return 0;
    const size_t limit = length < capacity - 1 ? length : capacity - 1;
    size_t i = 0;
    while (i < limit) {
        const size_t step = charLength(text, length, i);
        if (i + step > limit) break;
        // A lead byte with no trail byte in the text is half a character.
        if (step == 1 && i + 1 >= length && isLeadByte(static_cast<unsigned char>(text[i]))) break;
        i += step;
    }
    return i;
}

int splitReply(const char* reply, char* url, char* title, char* third) {
    size_t size = 0;
    if (reply != nullptr)
        while (size < maxReplyBytes && reply[size] != '\0') ++size;
    const ReplySpan first = findReplyField(reply, size, 0);
    const bool hasTitle = first.next != noField;
    const ReplySpan second = hasTitle ? findReplyField(reply, size, first.next) : first;
    put(url, reply, size, first, true);
    put(title, reply, size, second, hasTitle);
    put(third, reply, size, first, false);

    // What fits the URL buffer decides: a field of half a character puts
    // nothing there, and a reply without a URL is not one with a URL.
    char text[fieldCapacity];
    const size_t length = replyFieldText(reply, size, first, text, sizeof text);
    if (cutLength(text, length, fieldCapacity) == 0) return 0;
    return length < fieldCapacity ? 1 : urlCutShort;
}

size_t replyTextLength(const unsigned char* data, size_t size, size_t capacity) {
    if (data == nullptr || capacity == 0) return 0;
    // What lies beyond the capacity is never kept, so it is never read.
    size_t n = 0;
    while (n < size && n < capacity && data[n] != 0) ++n;
    return cutLength(reinterpret_cast<const char*>(data), n, capacity);
}

size_t openUrlArguments(const char* url, size_t size, char* out) {
    static const char tail[] = "\",,0xFFFFFFFF,0x0,,,";
    if (size >= 2 && url[0] == '"' && url[size - 1] == '"') {
        ++url;
        size -= 2;
    }
    size_t length = 0;
    auto append = [&](char c) {
        if (out != nullptr) out[length] = c;
        ++length;
    };
    append('"');
    for (size_t i = 0; i < size;) {
        const size_t len = charLength(url, size, i);
        if (len == 1 && url[i] == '"') append('\\');
        for (size_t k = 0; k < len; ++k) append(url[i + k]);
        i += len;
    }
    for (size_t k = 0; k + 1 < sizeof tail; ++k) append(tail[k]);
    return length;
}

namespace {

bool isTextByte(unsigned char c) {
    return (c >= 0x20 && c != 0x7F) || c == '\t' || c == '\r' || c == '\n';
}

// Text that a zero byte ends: at least one text byte, then zeros only.
bool isTerminatedText(const unsigned char* data, size_t size) {
    size_t i = 0;
    while (i < size && data[i] != 0 && isTextByte(data[i])) ++i;
    if (i == 0 || i == size) return false;
    for (; i < size; ++i)
        if (data[i] != 0) return false;
    return true;
}

}  // namespace

bool openUrlAccepted(const unsigned char* data, size_t size) {
    if (data == nullptr || size == 0) return true;
    // Four bytes that are not a terminated text are the window number,
    // little-endian: 0x00000130 arrives as "0" followed by 0x01 and zeros,
    // which must not read as the text "0".
    if (size == 4 && !isTerminatedText(data, size))
        return (data[0] | data[1] | data[2] | data[3]) != 0;
    if (data[0] == 0) {
        // A binary window number; a lone zero byte is merely an empty text.
        if (size < 4) return true;
        return (data[1] | data[2] | data[3]) != 0;
    }
    size_t i = 0;
    while (i < size && (data[i] == ' ' || data[i] == '\t')) ++i;
    if (i < size && (data[i] == '-' || data[i] == '+')) ++i;
    const bool hex = i + 1 < size && data[i] == '0' && (data[i + 1] == 'x' || data[i + 1] == 'X');
    if (hex) i += 2;
    bool numeric = false;
    bool nonZero = false;
    for (; i < size; ++i) {
        const unsigned char c = data[i];
        const bool digit = (c >= '0' && c <= '9') ||
                           (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) break;
        numeric = true;
        if (c != '0') nonZero = true;
    }
    // "0x" alone is the number 0 written without digits.
    if (hex && !numeric) return false;
    return !numeric || nonZero;
}

}  // namespace tvdde
