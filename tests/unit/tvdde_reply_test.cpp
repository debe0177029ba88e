// Reading browser replies and writing open-URL arguments in the bridge
// library: quoting, escapes, capacities and double-byte characters.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bridge/tvdde/reply_parse.h"

namespace {

// "表" is 0x95 0x5C: its trail byte is a backslash.
const std::string hyo = "\x95\x5c";
const std::string nihongo = "\x93\xfa\x96\x7b\x8c\xea";  // 日本語

// splitReply's three outputs, each followed by guard bytes.
struct Outputs {
    static constexpr std::size_t guard = 32;
    std::vector<char> url = dirty(), title = dirty(), third = dirty();

    static std::vector<char> dirty() { return std::vector<char>(tvdde::fieldCapacity + guard, '#'); }
    static bool intact(const std::vector<char>& b) {
        for (std::size_t i = tvdde::fieldCapacity; i < b.size(); ++i)
            if (b[i] != '#') return false;
        return true;
    }
    int split(const char* reply) { return tvdde::splitReply(reply, url.data(), title.data(), third.data()); }
    bool guardsIntact() const { return intact(url) && intact(title) && intact(third); }
};

TEST(TvddeSplitReply, TakesUrlAndTitleFromQuotedAndBareReplies) {
    struct Case { std::string reply; int result; std::string url, title; };
    const Case cases[] = {
        {"\"http://a/\",\"Title\",\"\"", 1, "http://a/", "Title"},
        {"\"http://a/\",\"say \\\"hi\\\"\"", 1, "http://a/", "say \"hi\""},
        {"\"http://a/?x=1,2\",\"t\"", 1, "http://a/?x=1,2", "t"},
        {" \"http://a/\" , \"t\" \r\n", 1, "http://a/", "t"},
        {"http://a/ , bare title ,x", 1, "http://a/", "bare title"},
        {"http://a/\r\n", 1, "http://a/", ""},
        {"\"http://a/,t", 1, "http://a/", "t"},                 // closing quote missing
        {"\"http://a/" + hyo + "\",\"" + hyo + "\"", 1, "http://a/" + hyo, hyo},
        {"\"u\",\"" + nihongo + "\"", 1, "u", nihongo},
        {"\"ab\x81\",\"t\"", 1, "ab", "t"},                      // lone lead byte before the quote
        {"\x81", 0, "", ""},                                     // half a character is no URL
        {"\"\x81\",\"t\"", 0, "", "t"},
        {",\"t\"", 0, "", "t"},
        {"\"\",\"\"", 0, "", ""},
        {"", 0, "", ""},
    };
    for (const auto& c : cases) {
        Outputs out;
        EXPECT_EQ(out.split(c.reply.c_str()), c.result) << c.reply;
        EXPECT_STREQ(out.url.data(), c.url.c_str()) << c.reply;
        EXPECT_STREQ(out.title.data(), c.title.c_str()) << c.reply;
        EXPECT_STREQ(out.third.data(), "") << c.reply;
    }
}

TEST(TvddeSplitReply, CutsFieldsAtCapacityWithoutSplittingACharacter) {
    struct Case { std::string url; std::string want; };
    const Case cases[] = {
        {std::string(259, 'u'), std::string(259, 'u')},
        {std::string(260, 'u'), std::string(259, 'u')},
        {std::string(257, 'u') + hyo, std::string(257, 'u') + hyo},
        {std::string(258, 'u') + hyo, std::string(258, 'u')},
        {std::string(32000, 'u'), std::string(259, 'u')},
    };
    for (const auto& c : cases) {
        for (const std::string& reply : {"\"" + c.url + "\",\"" + c.url + "\"", c.url + "," + c.url}) {
            Outputs out;
            // A URL that did not fit is answered as such (it used to be 1),
            // so the program does not open the start of it.
            EXPECT_EQ(out.split(reply.c_str()), c.url.size() < 260 ? 1 : tvdde::urlCutShort);
            EXPECT_EQ(std::string(out.url.data()), c.want) << c.url.size();
            EXPECT_EQ(std::string(out.title.data()), c.want) << c.url.size();
            EXPECT_TRUE(out.guardsIntact()) << c.url.size();
        }
    }
}

TEST(TvddeSplitReply, NeverReadsPastTheLargestReplyOrThroughNullPointers) {
    // No terminator anywhere: only the reply buffer's own bytes may be read.
    std::vector<char> unterminated(tvdde::maxReplyBytes, 'x');
    Outputs out;
    EXPECT_EQ(out.split(unterminated.data()), tvdde::urlCutShort);
    EXPECT_EQ(std::string(out.url.data()), std::string(259, 'x'));

    Outputs none;
    EXPECT_EQ(none.split(nullptr), 0);
    EXPECT_STREQ(none.url.data(), "");
    EXPECT_STREQ(none.title.data(), "");
    EXPECT_TRUE(none.guardsIntact());
    EXPECT_EQ(tvdde::splitReply("\"http://a/\"", nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(tvdde::splitReply(nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(TvddeReplyText, StopsAtTheZeroAndCutsAtCapacity) {
    auto bytes = [](const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); };
    const std::string zeroInside("ab\0cd", 5);
    const std::string withHyo = "abc" + hyo;
    EXPECT_EQ(tvdde::replyText(bytes(zeroInside), zeroInside.size(), 100), "ab");
    EXPECT_EQ(tvdde::replyText(bytes(withHyo), withHyo.size(), 100), withHyo);  // no terminator sent
    EXPECT_EQ(tvdde::replyText(bytes(withHyo), withHyo.size(), 5), "abc");      // 4 bytes would split
    EXPECT_EQ(tvdde::replyText(bytes(withHyo), withHyo.size(), 6), withHyo);
    EXPECT_EQ(tvdde::replyText(bytes(withHyo), withHyo.size(), 0), "");
    EXPECT_EQ(tvdde::replyText(nullptr, 10, 10), "");
}

TEST(TvddeOpenUrlArguments, QuotesTheUrlSoThatTheReplyReaderGetsItBack) {
    struct Case { std::string url; std::string arguments; std::string readBack; };
    const std::string tail = ",,0xFFFFFFFF,0x0,,,";
    const Case cases[] = {
        {"http://a/b.html", "\"http://a/b.html\"" + tail, "http://a/b.html"},
        {"\"http://a/b c.html\"", "\"http://a/b c.html\"" + tail, "http://a/b c.html"},
        {"http://a/?q=\"x\"", "\"http://a/?q=\\\"x\\\"\"" + tail, "http://a/?q=\"x\""},
        {"http://a/" + hyo, "\"http://a/" + hyo + "\"" + tail, "http://a/" + hyo},
        {"\"", "\"\\\"\"" + tail, "\""},
    };
    for (const auto& c : cases) {
        const std::string arguments = tvdde::openUrlArguments(c.url);
        EXPECT_EQ(arguments, c.arguments) << c.url;
        EXPECT_EQ(tvdde::readReplyField(arguments, 0).text, c.readBack) << c.url;
    }
}

TEST(TvddeOpenUrlAccepted, ZeroInAnyFormIsARefusal) {
    struct Case { std::string data; bool accepted; };
    const Case cases[] = {
        {"", true},
        {std::string("\0", 1), true},                      // an empty text
        {"1", true},
        {"0xFFFFFFFF", true},
        {"-1", true},
        {"007", true},
        {"OK", true},
        {"0", false},
        {"00", false},
        {"  0\r\n", false},
        {"0x0", false},
        {"0x", false},
        {std::string("\0\0\0\0", 4), false},              // binary window number 0
        {std::string("\0\1\0\0", 4), true},
        {std::string("\xff\xff\xff\xff", 4), true},
        // Four bytes that are no terminated text are a window number, even
        // when the low byte is the character "0".
        {std::string("\x30\x01\0\0", 4), true},             // 0x00000130
        {std::string("\x30\0\0\x01", 4), true},             // 0x01000030
        {std::string("\x30\x30\x30\x30", 4), true},         // no zero: 0x30303030
        {std::string("\x01\0\0\0", 4), true},               // 1
        // Four bytes of terminated text are read as text.
        {std::string("0\0\0\0", 4), false},
        {std::string("00\0\0", 4), false},
        {std::string("0x0\0", 4), false},
        {std::string("12\0\0", 4), true},
        {std::string("0\0", 2), false},                       // other sizes: text
        {std::string("0\x01\0\0\0", 5), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tvdde::openUrlAccepted(reinterpret_cast<const unsigned char*>(c.data.data()),
                                         c.data.size()),
                  c.accepted)
            << c.data;
}

}  // namespace
