// Link values: cleaning, schemes of their own, and resolution against a
// base URL, with its port, user part, missing path, query and fragment.
#include <gtest/gtest.h>

#include <string>

#include "links/link_resolve.h"
#include "settings/settings.h"
#include "template/url_parts.h"

namespace {

TEST(LinkValue, TrimsBlanksAndDecodesCharacterReferences) {
    struct Case { std::string value, want; };
    const std::string fffd = "%EF%BF%BD";
    const Case cases[] = {
        {" \t\r\nhttp://h/a.html \r\n\t ", "http://h/a.html"},
        {"a b", "a b"},  // inner blanks stay until the link is taken
        {"p?x=1&amp;y=2&AMP;z=3", "p?x=1&y=2&z=3"},
        {"p?x=1&#38;y=2&#038;z&#0038;", "p?x=1&y=2&z&"},
        {"p?x=1&#x26;y&#X26;z&#x0026;", "p?x=1&y&z&"},
        {"&amp;amp;", "&amp;"},  // one level only
        {"&#38;#38;", "&#38;"},
        // Every numeric reference, with or without its ';'.
        {"mailto:nas&#37;&#52;&#48;debian&#46;org", "mailto:nas%40debian.org"},
        {"&#x2F;a&#X2f;b&#47c", "/a/b/c"},
        {"&#39;&#x27;&apos;&APOS;", "''''"},
        // The named ones of URLs need their ';'; others stay as written.
        {"&amp &lt &gt &quot &apos", "&amp &lt &gt &quot &apos"},
        {"&nbsp;&copy;&#;&#x;&#xG;&", "&nbsp;&copy;&#;&#x;&#xG;&"},
        // What cannot stand in a URL as such is percent-encoded...
        {"a&lt;b&gt;c&quot;d&#32;e&#x7F;f&#1;g", "a%3Cb%3Ec%22d%20e%7Ff%01g"},
        // ...and tab, CR and LF go, as browsers drop them.
        {"a&#9;b&#10;c&#13;d&#x0A;e", "abcde"},
        // Blanks and controls at the ends go, referenced or not.
        {" &#32;&#10;\tx.html&#9;&#x20; &#1;", "x.html"},
        // Characters beyond ASCII as UTF-8.
        {"caf&#233;", "caf%C3%A9"},
        {"&#x6771;&#20140;", "%E6%9D%B1%E4%BA%AC"},  // 東京
        {"&#x1F600;", "%F0%9F%98%80"},
        {"&#x10FFFF;", "%F4%8F%BF%BF"},
        // Numbers that are no character stand for U+FFFD.
        {"&#0;&#xD800;&#x110000;&#99999999999999999999;", fffd + fffd + fffd + fffd},
        // 0x80..0x9F are the characters of windows-1252.
        {"&#128;&#x99;&#x81;", "%E2%82%AC%E2%84%A2%C2%81"},
        // Double-byte characters of the page stay as they are.
        {"\x95\x5c&amp;\x83\x41", "\x95\x5c&\x83\x41"},
        {"", ""},
        {" \t ", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(cleanLinkValue(c.value), c.want) << c.value;
}

TEST(LinkValue, SchemeOfItsOwn) {
    struct Case { std::string value; bool want; };
    const Case cases[] = {
        {"javascript:void(0)", true}, {"data:image/png;base64,xx", true}, {"tel:+81-3", true},
        {"about:blank", true}, {"ms-settings:x", true}, {"git+ssh://h/r", true}, {"HTTP:x", true},
        {"C:\\dir\\x.html", false},  // one letter: a drive
        {"page.html", false}, {"a/b:c", false}, {"1ab:c", false}, {"/x:y", false},
        {"#a:b", false}, {"", false}, {"ab", false},
    };
    for (const Case& c : cases) EXPECT_EQ(hasScheme(c.value), c.want) << c.value;
}

class Resolve : public ::testing::Test {
protected:
    Settings saved = settings;
    void SetUp() override { settings.schemeEnabled = {1, 1, 1, 1}; }
    void TearDown() override { settings = saved; }
    // The resolved link, or "-" when resolution fails.
    static std::string resolved(std::string base, std::string link) {
        return resolveRelativeLink(link, base) == 1 ? link : "-";
    }
};

TEST_F(Resolve, AgainstAPagePath) {
    const std::string base = "http://h/a/b/c.html";
    struct Case { std::string link, want; };
    const Case cases[] = {
        {"d.html", "http://h/a/b/d.html"},
        {"./d.html", "http://h/a/b/d.html"},
        {"../d.html", "http://h/a/d.html"},
        {"../../d.html", "http://h/d.html"},
        {"../../../d.html", "-"},  // above the host
        {"a/../d.html", "-"},      // "../" only at the start
        {"a/./d.html", "-"},
        {"sub/d.html?x=1#y", "http://h/a/b/sub/d.html?x=1#y"},
        {"/x/y.html", "http://h/x/y.html"},
        {"/x\\y.html", "http://h/x/y.html"},
        {"//cdn.example/x.js", "http://cdn.example/x.js"},
        {"#top", "http://h/a/b/c.html#top"},
        {"?q=2", "http://h/a/b/c.html?q=2"},
        {"", "http://h/a/b/c.html"},
        {"javascript:void(0)", "-"}, {"data:text/html,x", "-"}, {"tel:123", "-"},
        {"about:blank", "-"}, {"news:comp.lang", "-"}, {"https:x", "-"},
        {"/" + std::string(250, 'x'), "http://h/" + std::string(250, 'x')},  // 259 characters
        {"/" + std::string(251, 'x'), "-"},
    };
    for (const Case& c : cases) EXPECT_EQ(resolved(base, c.link), c.want) << c.link;
}

TEST_F(Resolve, KeepsTheWholeAuthority) {
    struct Case { std::string base, link, want; };
    const Case cases[] = {
        {"http://u:p@h:8080/a/b.html?x=1#f", "d.html", "http://u:p@h:8080/a/d.html"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "/r", "http://u:p@h:8080/r"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "../x", "http://u:p@h:8080/x"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "../../x", "-"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "#g", "http://u:p@h:8080/a/b.html?x=1#g"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "?y", "http://u:p@h:8080/a/b.html?y"},
        {"http://u:p@h:8080/a/b.html?x=1#f", "//o/p", "http://o/p"},
        {"http://h:8080", "d.html", "http://h:8080/d.html"},  // no path: the folder "/"
        {"http://h", "d.html", "http://h/d.html"},
        {"http://h", "./d.html", "http://h/d.html"},
        {"http://h", "../d.html", "-"},
        {"http://h", "/x", "http://h/x"},
        {"http://h?q=1", "d.html", "http://h/d.html"},
        {"http://h/dir/", "d.html", "http://h/dir/d.html"},
        {"http://h/a/b/c.html?p=/x/y", "d.html", "http://h/a/b/d.html"},  // slashes of the query
        {"https://h/a/", "x", "https://h/a/x"},
        {"https://h/a/", "//o/p", "https://o/p"},
        {"HTTP://H/A/", "x", "HTTP://H/A/x"},
        {"file:///C:/dir/page.html", "x.html", "file:///C:/dir/x.html"},
        {"file:///C:/dir/page.html", "../x.html", "file:///C:/x.html"},
        {"file:///C:/dir/page.html", "../../x.html", "-"},
        {"not a url", "x", "-"},
        {"mailto:a@b.c", "x", "-"},
        {"mailto:a@b.c?body=http://h/", "x", "-"},
    };
    for (const Case& c : cases) EXPECT_EQ(resolved(c.base, c.link), c.want) << c.base << " " << c.link;
}

TEST_F(Resolve, BackslashesOfTheBaseBecomeSlashesAndStay) {
    std::string base = "http://h/a\\b\\c.html";
    std::string link = "d.html";
    ASSERT_EQ(resolveRelativeLink(link, base), 1);
    EXPECT_EQ(link, "http://h/a/b/d.html");
    EXPECT_EQ(base, "http://h/a/b/c.html");
    // The trail byte 0x5C of a double-byte character is not a backslash.
    std::string japanese = "http://h/\x95\x5c/c.html";
    link = "d.html";
    ASSERT_EQ(resolveRelativeLink(link, japanese), 1);
    EXPECT_EQ(link, "http://h/\x95\x5c/d.html");
}

TEST_F(Resolve, ResultsThatCannotBeHeldFail) {
    // A joined link beyond what a list entry holds; the caller's length test
    // drops links of 260 characters or more, resolution those of 520.
    EXPECT_EQ(resolved("http://h/a/", std::string(600, 'x')), "-");
    EXPECT_EQ(resolved("http://h/a/", std::string(300, 'x')), "http://h/a/" + std::string(300, 'x'));
    // Forty leading "../" groups climb above any host.
    std::string up;
    for (int i = 0; i < 40; ++i) up += "../";
    EXPECT_EQ(resolved("http://h/a/b/c/d/e.html", up + "x.html"), "-");
}

}  // namespace
