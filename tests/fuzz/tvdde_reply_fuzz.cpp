// The browser bridge library's reply parser: the fields of a window-
// information reply as splitReply hands them to the program (each into a
// buffer of exactly 260 bytes), the text taken from a browser's data, the
// open-URL argument list and the judgement of the browser's answer. The
// input is what a browser sent.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "bridge/tvdde/reply_parse.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

constexpr std::string_view argumentTail = ",,0xFFFFFFFF,0x0,,,";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply = inputText(data, size);

    // A reply as a C string; one that fills the query's largest buffer
    // comes without a terminator, and splitReply must stop at its end.
    const bool filled = size >= tvdde::maxReplyBytes;
    const std::size_t room = filled ? tvdde::maxReplyBytes : size + 1;
    std::unique_ptr<char[]> text(new char[room]);
    std::memcpy(text.get(), data, room < size ? room : size);
    if (!filled) text[size] = '\0';

    std::unique_ptr<char[]> url(new char[tvdde::fieldCapacity]);
    std::unique_ptr<char[]> title(new char[tvdde::fieldCapacity]);
    std::unique_ptr<char[]> third(new char[tvdde::fieldCapacity]);
    const int r = tvdde::splitReply(text.get(), url.get(), title.get(), third.get());
    const std::size_t urlLength = strnlen(url.get(), tvdde::fieldCapacity);
    FUZZ_CHECK(urlLength < tvdde::fieldCapacity, "url is terminated in its buffer");
    FUZZ_CHECK(strnlen(title.get(), tvdde::fieldCapacity) < tvdde::fieldCapacity, "title is terminated");
    FUZZ_CHECK(third[0] == '\0', "third is empty");
    FUZZ_CHECK(r == 0 || r == 1 || r == tvdde::urlCutShort, "result");
    FUZZ_CHECK((r == 0) == (urlLength == 0 && r != tvdde::urlCutShort), "0 exactly when there is no URL");
    tvdde::splitReply(text.get(), nullptr, nullptr, nullptr);

    // Every field in turn: each read moves on.
    const std::string_view terminated = reply.substr(0, reply.find('\0'));
    std::size_t pos = 0;
    for (int fields = 0; pos != std::string_view::npos; ++fields) {
        const tvdde::ReplyField f = tvdde::readReplyField(terminated, pos);
        FUZZ_CHECK(f.text.size() <= terminated.size(), "a field comes from the reply");
        FUZZ_CHECK(f.next == std::string_view::npos || (f.next > pos && f.next <= terminated.size()),
                   "fields move on");
        FUZZ_CHECK(fields <= static_cast<int>(terminated.size()) + 1, "fields end");
        pos = f.next;
    }

    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t capacity : {std::size_t{1}, std::size_t{260}, tvdde::maxReplyBytes}) {
        const std::string got = tvdde::replyText(bytes, size, capacity);
        FUZZ_CHECK(got.size() < capacity, "replyText fits");
    }

    const std::string arguments = tvdde::openUrlArguments(terminated);
    FUZZ_CHECK(arguments.size() > argumentTail.size() && arguments[0] == '"' &&
                   arguments.compare(arguments.size() - argumentTail.size(), argumentTail.size(),
                                     argumentTail) == 0,
               "argument list form");
    tvdde::openUrlAccepted(bytes, size);
    return 0;
}
