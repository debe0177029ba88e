// The check tool's rows of "links" in its three forms: fields that hold a
// tab or a line end, quotes, backslashes, control characters and a
// double-byte character whose second byte is a backslash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/links_rows.h"

namespace {

UrlEntry entry(LinkKind kind, const std::string& url, const std::string& title) {
    UrlEntry e;
    e.kind = kind;
    e.url = url;
    e.title = title;
    return e;
}

TEST(CheckLinksRows, EachFormKeepsItsRowsApart) {
    // "\x95\x5C" is one character whose second byte is '\'.
    const std::vector<UrlEntry> rows = {
        entry(Anchor, "http://h/a", "tab\tand\r\nline"),
        entry(Image, "http://h/i.png", "say \"\x95\x5C\" \\ \x01"),
    };
    struct Case {
        const char* name;
        void (*append)(std::string&, const std::vector<UrlEntry>&);
        std::string want;
    } cases[] = {
        {"tab-separated", appendTsvRows,
         "anchor\thttp://h/a\ttab and  line\n"
         "image\thttp://h/i.png\t* say \"\x95\x5C\" \\ \x01\n"},
        {"JSON", appendJsonRows,
         "[\n  {\"kind\": \"anchor\", \"url\": \"http://h/a\", \"title\": \"tab\\u0009and\\u000d\\u000aline\"},\n"
         "  {\"kind\": \"image\", \"url\": \"http://h/i.png\", \"title\": \"* say \\\"\x95\x5C\\\" \\\\ \\u0001\"}\n]"},
        {"readable", appendReadableRows,
         "   1 anchor  http://h/a  tab^Iand^M^Jline\n"
         "   2 image   http://h/i.png  * say \"\x95\x5C\" \\ ^A\n"},
    };
    for (const Case& c : cases) {
        std::string out = "before ";
        c.append(out, rows);
        EXPECT_EQ(out, "before " + c.want) << c.name;
        out.clear();
        c.append(out, {});
        EXPECT_EQ(out, std::string(c.append == appendJsonRows ? "[]" : "")) << c.name << ", no rows";
    }
}

}  // namespace
