// The text side of the browser bridge library: reading a browser's
// window-information reply, building the open-URL argument list and judging
// the browser's answer to it. Plain byte handling, shared by the library,
// the fake browser used in tests and the unit tests.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tvdde {

// Size of each output buffer of splitReply (259 characters and the zero).
constexpr std::size_t fieldCapacity = 260;
// No reply is read beyond this many bytes: the largest buffer a caller
// hands the query is this big.
constexpr std::size_t maxReplyBytes = 32768;

// One field of a reply, starting at `pos`: either in double quotes, where
// \" stands for a quote, or bare up to the next comma, trimmed. `next` is
// the position behind the comma that ends the field, or npos when the
// field is the last one.
struct ReplyField {
    std::string text;
    std::size_t next;
};
ReplyField readReplyField(std::string_view reply, std::size_t pos);

// What splitReply answers when the URL did not fit its buffer.
constexpr int urlCutShort = -1;

// The contract of the exported splitter: url and title of a reply such as
// "url","title",... each cut to fieldCapacity, third always left empty.
// Any pointer may be null. 1 when a URL was found, 0 when there is none,
// urlCutShort when it has 260 characters or more (url then holds its first
// 259), so that the caller does not open a page the browser does not show.
int splitReply(const char* reply, char* url, char* title, char* third);

// What the query hands its caller of the data a browser sent: the text up
// to its first zero byte, cut to fit `capacity` bytes with the terminator.
std::string replyText(const unsigned char* data, std::size_t size, std::size_t capacity);

// The argument list of an open-URL request. Quotes the program put
// around a URL with spaces are dropped; quotes inside are escaped.
std::string openUrlArguments(std::string_view url);

// Whether the browser took a URL, judged by the data it answered with. A
// binary 32-bit window number must not be 0: four bytes that are not a
// zero-terminated text, or data starting with a zero byte, are one. A text
// with a leading number (decimal or 0x hexadecimal) must not be 0. Any
// other answer counts as taken.
bool openUrlAccepted(const unsigned char* data, std::size_t size);

}  // namespace tvdde
