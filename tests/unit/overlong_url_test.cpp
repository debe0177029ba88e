// Input longer than the program holds: where a long text is cut, and the
// caution box that tells of URLs too long to open.
#include <gtest/gtest.h>

#include <string>

#include "app/input_cut.h"
#include "app/overlong_notice.h"
#include "common/overlong_url.h"
#include "tests/support/fake_platform.h"

namespace {

TEST(WholeTokens, CutsBetweenTokensOnly) {
    struct Case { const char* what; std::string text; std::size_t limit; int lineMode; std::string kept; };
    const Case cases[] = {
        {"fits", "http://a/ http://b/", 19, 0, "http://a/ http://b/"},
        {"inside the second token", "http://a/ http://b/", 15, 0, "http://a/ "},
        {"the limit at a blank", "http://a/ http://b/", 9, 0, "http://a/"},
        {"inside the only token", "http://a/", 5, 0, ""},
        {"a quoted token with blanks", "a \"b c d\" e", 7, 0, "a "},
        {"after a closing quote", "a \"b c\"d e", 7, 0, "a \"b c\""},
        {"a token that the next blank ends", "a \"b c\"d e", 8, 0, "a \"b c\"d"},
        {"an opening quote next", "a b\"c d\"", 3, 0, "a b"},
        {"an open quote at the limit", "a \"b c", 5, 0, "a "},
        {"line feeds separate in line mode 1", "http://a/\nhttp://b/", 12, 1, "http://a/\n"},
        {"line feeds join in line mode 0", "http://a/\nhttp://b/", 12, 0, ""},
        {"a line feed closes an open quote", "\"a b\nc d", 5, 1, "\"a b\n"},
        {"a line feed next", "a\nb", 1, 1, "a"},
        {"double-byte text before a blank", "\x95\x5c\x95\x5c x", 5, 0, "\x95\x5c\x95\x5c "},
        {"a tab ends a token", "http://a/\thttp://b/", 15, 0, "http://a/\t"},
        {"the limit at a tab", "http://a/\thttp://b/", 9, 0, "http://a/"},
        {"a tab inside quotes", "a \"b\tc d\" e", 7, 0, "a "},
    };
    for (const auto& c : cases) EXPECT_EQ(wholeTokens(c.text, c.limit, c.lineMode), c.kept) << c.what;
}

TEST(OverlongNotice, NamesEachLimitWithTheUrlsStart) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::size_t>> notes;
        std::string text;
    };
    const std::string u100 = "http://h/" + std::string(91, 'u');
    const Case cases[] = {
        {"nothing", {}, ""},
        {"one URL", {{"http://h/x", overlong::url}},
         "次のURLは長すぎるため開けません。開けるURLは259文字までです。\nhttp://h/x"},
        {"three URLs, one limit", {{u100, overlong::url}, {"http://b/", overlong::url}, {"c", overlong::url}},
         "次のURLは長すぎるため開けません。開けるURLは259文字までです。\n" + u100.substr(0, 80) +
             "…\n（ほかに2件）"},
        {"a word cut short, then a cut text",
         {{"http://w/", overlong::token}, {"http://z/", overlong::handOff}},
         "次のURLは前後の文字とつながって長すぎるため開けません。"
         "空白で区切られた一語は1039文字までです。\nhttp://w/\n\n"
         "入力が長すぎるため、次から後ろは読み込めませんでした。"
         "一度に受け取れるのは30159文字までです。\nhttp://z/"},
        {"a double-byte character at the head's end", {{std::string(79, 'x') + "\x95\x5c" + "y", overlong::url}},
         "次のURLは長すぎるため開けません。開けるURLは259文字までです。\n" + std::string(79, 'x') + "…"},
    };
    for (const auto& c : cases) {
        clearOverlongUrls();
        for (const auto& [text, limit] : c.notes) noteOverlongUrl(text, limit);
        EXPECT_EQ(overlongNoticeText(), c.text) << c.what;
    }
}

TEST(OverlongNotice, ShownOnceThenCleared) {
    FakePlatform fake;
    clearOverlongUrls();
    EXPECT_FALSE(reportOverlongUrls(nullptr));
    noteOverlongUrl("http://h/x", overlong::url);
    noteOverlongUrl("http://h/y", overlong::handOff);
    keepOverlongNote(overlong::handOff);
    EXPECT_TRUE(reportOverlongUrls(nullptr));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "注意");
    EXPECT_EQ(fake.messages[0].text.find("259"), std::string::npos);
    EXPECT_FALSE(reportOverlongUrls(nullptr));
    EXPECT_EQ(fake.messages.size(), 1u);
}

}  // namespace
