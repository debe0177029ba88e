// List-file lines, and that a written list reads back with the same URLs
// and titles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/recognize.h"
#include "common/url_list.h"
#include "links/list_file.h"
#include "settings/settings.h"
#include "tests/support/link_rows.h"

namespace {

struct Row { std::string url, title; };

TEST(ListFile, Lines) {
    struct Case { Row row; std::string separator, want; };
    const Case cases[] = {
        {{"http://a/b", ""}, "||", "http://a/b\r\n"},
        {{"http://a/b", "Home"}, "||", "http://a/b||Home\r\n"},
        {{"http://a/b c", ""}, "||", "\"http://a/b c\"\r\n"},
        {{"http://a/b c", "Home"}, "||", "\"http://a/b c||Home\"\r\n"},
        {{"http://a/b", "My page"}, "||", "\"http://a/b||My page\"\r\n"},
        {{"http://a/i.png", "* "}, "||", "\"http://a/i.png||* \"\r\n"},
        {{"http://a/b", "T"}, " :: ", "\"http://a/b :: T\"\r\n"},
        {{"http://a/b", "\x95\x5c"}, "@@", "http://a/b@@\x95\x5c\r\n"},
        {{"http://a/" + std::string(800, 'x'), ""}, "||", "http://a/" + std::string(770, 'x') + "\r\n"},
        {{"http://a/b", std::string(300, 't')}, "||", "http://a/b||" + std::string(259, 't') + "\r\n"},
        // Quotes and '>' of a title would cut it short on reading.
        {{"http://a/b", "Say \"hi\" >>"}, "||", "\"http://a/b||Say ”hi” ＞＞\"\r\n"},
        {{"http://a/b", "a>b"}, "||", "http://a/b||a＞b\r\n"},
        {{"http://a/b", std::string(258, 't') + "\""}, "||", "http://a/b||" + std::string(258, 't') + "\r\n"},
        // A tab ends a token on reading as a blank does.
        {{"http://a/b", "Tab\there"}, "||", "\"http://a/b||Tab\there\"\r\n"},
        {{"http://a/b", "T"}, "\t", "\"http://a/b\tT\"\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatListLine(c.row.url, c.row.title, c.separator), c.want) << c.row.url;
}

TEST(ListFile, WrittenListReadsBack) {
    Settings saved = settings;
    settings.schemeEnabled = {1, 1, 1, 1};
    settings.titleSeparator = "||";
    settings.parametersOn = 0;
    const std::vector<Row> rows = {
        {"http://a/1", "One"}, {"http://a/2", ""}, {"http://a/b c.html", "With blank"},
        {"http://a/i.png", "* Alt text"}, {"http://a/i2.png", "* "}, {"ftp://f/x", "\x95\x5c \x83\x41"},
        {"http://a/q", "The \"best\" page"}, {"http://a/n", "Next >"},
        {"http://a/" + std::string(200, 'l'), std::string(250, 't')},  // longer than 259 together
        {"http://a/tab", "Tab\tin title"},
    };
    std::string file;
    for (const Row& r : rows) file += formatListLine(r.url, r.title, settings.titleSeparator);
    recognizeInput(file, 1, 0);
    std::vector<std::string> want;
    // Reading trims a title's trailing blanks: "* " comes back as "*";
    // quotes and '>' come back full-width, with the rest of the title.
    for (const Row& r : rows) {
        std::string title = r.title == "* " ? "*" : r.title;
        if (title == "The \"best\" page") title = "The ”best” page";
        if (title == "Next >") title = "Next ＞";
        if (title == "Tab\tin title") title = "Tabin title";  // tabs inside quotes go
        want.push_back("anchor\t" + r.url + "\t" + title);
    }
    EXPECT_EQ(listRows(), want);
    settings = saved;
}

}  // namespace
