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
    };
    std::string file;
    for (const Row& r : rows) file += formatListLine(r.url, r.title, settings.titleSeparator);
    recognizeInput(file, 1, 0);
    std::vector<std::string> want;
    // Reading trims a title's trailing blanks: "* " comes back as "*".
    for (const Row& r : rows) want.push_back("anchor\t" + r.url + "\t" + (r.title == "* " ? "*" : r.title));
    EXPECT_EQ(listRows(), want);
    settings = saved;
}

}  // namespace
