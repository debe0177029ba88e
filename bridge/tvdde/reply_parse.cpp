// Reading and writing the comma-separated, quoted argument lists that
// browsers exchange over DDE. Replies come from other programs and are
// trusted for nothing: every scan stays inside the bytes it was given and
// steps over double-byte characters whole, so a trail byte that happens to
// be a backslash never acts as an escape.
#include "bridge/tvdde/reply_parse.h"

#include <cstring>

#include "common/text.h"

namespace tvdde {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// A lead byte counts as half of a pair only when a valid trail byte follows;
// otherwise it stands alone, so a malformed reply cannot swallow a quote.
std::size_t charLength(std::string_view s, std::size_t i) {
    if (text::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
        isTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

std::size_t findComma(std::string_view s, std::size_t pos) {
    for (std::size_t i = pos; i < s.size(); i += charLength(s, i))
        if (s[i] == ',') return i;
    return npos;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

ReplyField bareField(std::string_view reply, std::size_t pos) {
    std::size_t comma = findComma(reply, pos);
    std::string_view body = comma == npos ? reply.substr(pos) : reply.substr(pos, comma - pos);
    return ReplyField{std::string(trim(body)), comma == npos ? npos : comma + 1};
}

void put(char* dst, std::string_view src) {
    if (dst == nullptr) return;
    std::string cut = text::cut(src, fieldCapacity);
    std::memcpy(dst, cut.data(), cut.size());
    dst[cut.size()] = '\0';
}

}  // namespace

ReplyField readReplyField(std::string_view reply, std::size_t pos) {
    while (pos < reply.size() && isBlank(reply[pos])) ++pos;
    if (pos >= reply.size()) return ReplyField{std::string(), npos};
    if (reply[pos] != '"') return bareField(reply, pos);

    ReplyField field{std::string(), npos};
    std::size_t i = pos + 1;
    while (i < reply.size()) {
        std::size_t len = charLength(reply, i);
        char c = reply[i];
        if (len == 2) {
            field.text.append(reply.substr(i, 2));
        } else if (c == '\\' && i + 1 < reply.size() && reply[i + 1] == '"') {
            field.text += '"';
            len = 2;
        } else if (c == '"') {
            std::size_t comma = findComma(reply, i + 1);
            field.next = comma == npos ? npos : comma + 1;
            return field;
        } else {
            field.text += c;
        }
        i += len;
    }
    // No closing quote: read it as if the quotes were missing altogether.
    return bareField(reply, pos + 1);
}

int splitReply(const char* reply, char* url, char* title, char* third) {
    std::string_view text;
    if (reply != nullptr) {
        std::size_t n = 0;
        while (n < maxReplyBytes && reply[n] != '\0') ++n;
        text = std::string_view(reply, n);
    }
    ReplyField first = readReplyField(text, 0);
    std::string titleText;
    if (first.next != npos) titleText = readReplyField(text, first.next).text;
    put(url, first.text);
    put(title, titleText);
    put(third, std::string_view());
    // What the URL buffer holds decides: a field of half a character puts
    // nothing there, and a reply without a URL is not one with a URL.
    if (text::cut(first.text, fieldCapacity).empty()) return 0;
    return first.text.size() < fieldCapacity ? 1 : urlCutShort;
}

std::string replyText(const unsigned char* data, std::size_t size, std::size_t capacity) {
    if (data == nullptr || capacity == 0) return std::string();
    // What lies beyond the capacity is never kept, so it is never read.
    std::size_t n = 0;
    while (n < size && n < capacity && data[n] != 0) ++n;
    return text::cut(std::string_view(reinterpret_cast<const char*>(data), n), capacity);
}

std::string openUrlArguments(std::string_view url) {
    if (url.size() >= 2 && url.front() == '"' && url.back() == '"')
        url = url.substr(1, url.size() - 2);
    std::string out = "\"";
    for (std::size_t i = 0; i < url.size();) {
        std::size_t len = charLength(url, i);
        if (len == 1 && url[i] == '"') out += '\\';
        out.append(url.substr(i, len));
        i += len;
    }
    out += "\",,0xFFFFFFFF,0x0,,,";
    return out;
}

namespace {

bool isTextByte(unsigned char c) {
    return (c >= 0x20 && c != 0x7F) || c == '\t' || c == '\r' || c == '\n';
}

// Text that a zero byte ends: at least one text byte, then zeros only.
bool isTerminatedText(const unsigned char* data, std::size_t size) {
    std::size_t i = 0;
    while (i < size && data[i] != 0 && isTextByte(data[i])) ++i;
    if (i == 0 || i == size) return false;
    for (; i < size; ++i)
        if (data[i] != 0) return false;
    return true;
}

}  // namespace

bool openUrlAccepted(const unsigned char* data, std::size_t size) {
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
    std::size_t i = 0;
    while (i < size && (data[i] == ' ' || data[i] == '\t')) ++i;
    if (i < size && (data[i] == '-' || data[i] == '+')) ++i;
    bool hex = i + 1 < size && data[i] == '0' && (data[i + 1] == 'x' || data[i + 1] == 'X');
    if (hex) i += 2;
    bool numeric = false;
    bool nonZero = false;
    for (; i < size; ++i) {
        unsigned char c = data[i];
        bool digit = (c >= '0' && c <= '9') ||
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
