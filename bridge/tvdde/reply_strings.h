// The bridge library's reply handling over std::string, for the programs
// that test it (the fake browser, the unit tests): the same operations as
// the library's own, which they call.
#pragma once
#include <cstring>
#include <string>
#include <string_view>

#include "bridge/tvdde/reply_parse.h"

namespace tvdde {

// One field of a reply, starting at `pos`, with its escapes undone; `next`
// as in ReplySpan.
struct ReplyField {
    std::string text;
    std::size_t next;
};

inline ReplyField readReplyField(std::string_view reply, std::size_t pos) {
    const ReplySpan span = findReplyField(reply.data(), reply.size(), pos);
    std::string text(replyFieldText(reply.data(), reply.size(), span, nullptr, 0), '\0');
    replyFieldText(reply.data(), reply.size(), span, &text[0], text.size());
    return ReplyField{text, span.next == noField ? std::string_view::npos : span.next};
}

inline std::string replyText(const unsigned char* data, std::size_t size, std::size_t capacity) {
    // No reply at all is an empty text; std::string must never see a null
    // pointer, whatever the length.
    if (!data) return std::string();
    return std::string(reinterpret_cast<const char*>(data), replyTextLength(data, size, capacity));
}

inline std::string openUrlArguments(std::string_view url) {
    std::string out(openUrlArguments(url.data(), url.size(), nullptr), '\0');
    openUrlArguments(url.data(), url.size(), &out[0]);
    return out;
}

}  // namespace tvdde
