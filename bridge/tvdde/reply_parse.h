// The text side of the browser bridge library: reading a browser's
// window-information reply, building the open-URL argument list and judging
// the browser's answer to it. Plain functions over char buffers — no
// allocation and nothing of the C++ runtime, so the library carries none.
// The fake browser used in tests and the unit tests also get the same
// operations over std::string (reply_strings.h, left out of the library
// by TVDDE_FREESTANDING).
#pragma once
#include <stddef.h>

namespace tvdde {

// Size of each output buffer of splitReply (259 characters and the zero).
const size_t fieldCapacity = 260;
// No reply is read beyond this many bytes: the largest buffer a caller
// hands the query is this big.
const size_t maxReplyBytes = 32768;
// A position past every field: what `next` says after the last one.
const size_t noField = static_cast<size_t>(-1);

// Where one field of a reply lies, starting the search at a position:
// either in double quotes, where \" stands for a quote, or bare up to the
// next comma, trimmed. `next` is the position behind the comma that ends
// the field, or noField when the field is the last one.
struct ReplySpan {
    size_t begin;
    size_t end;
    bool quoted;
    size_t next;
};
ReplySpan findReplyField(const char* reply, size_t size, size_t pos);

// The field's text with its escapes undone: writes at most `room` bytes of
// it to `out` (which may be null) and returns its whole length.
size_t replyFieldText(const char* reply, size_t size, ReplySpan span, char* out, size_t room);

// How many bytes of a text of `length` bytes fit `capacity` bytes with the
// terminating zero, never splitting a double-byte character and dropping
// a lead byte that ends the text. `text` must hold min(length, capacity)
// bytes.
size_t cutLength(const char* text, size_t length, size_t capacity);

// What splitReply answers when the URL did not fit its buffer.
const int urlCutShort = -1;

// The contract of the exported splitter: url and title of a reply such as
// "url","title",... each cut to fieldCapacity, third always left empty.
// Any pointer may be null. 1 when a URL was found, 0 when there is none
// (also when its field is half a character, which leaves the buffer
// empty), urlCutShort when it has 260 characters or more (url then holds
// its first 259), so that the caller does not open a page the browser does
// not show.
int splitReply(const char* reply, char* url, char* title, char* third);

// How many bytes of the data a browser sent the query hands its caller:
// the text up to its first zero byte, cut to fit `capacity` bytes with the
// terminator.
size_t replyTextLength(const unsigned char* data, size_t size, size_t capacity);

// The argument list of an open-URL request for the `size` bytes of `url`.
// Quotes the program put around a URL with spaces are dropped; quotes
// inside are escaped. Writes it to `out` when that is not null (no zero
// byte added) and returns its length.
size_t openUrlArguments(const char* url, size_t size, char* out);

// Whether the browser took a URL, judged by the data it answered with. A
// binary 32-bit window number must not be 0: four bytes that are not a
// zero-terminated text, or data starting with a zero byte, are one. A text
// with a leading number (decimal or 0x hexadecimal) must not be 0. Any
// other answer counts as taken.
bool openUrlAccepted(const unsigned char* data, size_t size);

}  // namespace tvdde

#ifndef TVDDE_FREESTANDING
#include "bridge/tvdde/reply_strings.h"
#endif
