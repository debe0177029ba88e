// The tag scan: tags and attributes found case-insensitively, values cut by
// their quoting, anchor and alt texts, the order and cap of entries,
// relative links by mode, and the link-value rules of both passes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/url_list.h"
#include "links/link_scan.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "tests/support/link_rows.h"

namespace {

using Rows = std::vector<std::string>;

std::string A(const std::string& url, const std::string& title = "") {
    return "anchor\t" + url + "\t" + title;
}
std::string I(const std::string& url, const std::string& alt = "") {
    return "image\t" + url + "\t* " + alt;
}

class Scan : public ::testing::Test {
protected:
    Settings saved = settings;
    void SetUp() override {
        settings.schemeEnabled = {1, 1, 1, 1};
        urlList = UrlList{};
    }
    void TearDown() override { settings = saved; }
    static Rows scan(const std::string& page, std::string base = "", int mode = 2) {
        scanLinks(page, base, mode);
        return listRows();
    }
};

struct Case {
    const char* name;
    std::string page;
    int mode;
    Rows want;
};

const std::string base = "http://h/a/b/c.html";

TEST_F(Scan, TagsValuesAndTexts) {
    const Case cases[] = {
        {"upper-case tag and attribute", "<A HREF=\"http://h/x.html\">X</A>", 2, {A("http://h/x.html", "X")}},
        {"line break and tab after <a", "<a\nhref=\"http://h/x\">X</a><a\thref=\"http://h/y\">Y</a>", 2,
         {A("http://h/x", "X"), A("http://h/y", "Y")}},
        {"blank before =", "<a href =\"http://h/x\">X</a>", 2, {}},
        {"unquoted, more attributes", "<a href=http://h/x.html target=_top>X</a>", 2, {A("http://h/x.html", "X")}},
        {"unquoted, last in tag", "<a href=http://h/x.html>X</a>", 2, {A("http://h/x.html", "X")}},
        {"single-quoted", "<a href='http://h/a b.html' id=x>X</a>", 2, {A("http://h/ab.html", "X")}},
        {"double-quoted with blanks", "<a href=\"http://h/a b\tc.html\">X</a>", 2, {A("http://h/abc.html", "X")}},
        {"quote never closed", "<a href=\"http://h/x.html id=y>X</a>", 2, {A("http://h/x.html", "X")}},
        {"quote closed past the tag", "<a href=\"http://h/x.html>X</a> \"", 2, {A("http://h/x.html", "X")}},
        {"first href= counts", "<a data-href=\"http://h/lazy\" href=\"http://h/real\">X</a>", 2, {A("http://h/lazy", "X")}},
        {"no href", "<a name=\"top\">T</a>", 2, {}},
        {"value at the end of the tag", "<a href=>X</a>", 2, {}},
        {"empty value", "<a href=\"\">X</a>", 2, {}},
        {"anchor text: tags and line ends dropped, references kept",
         "<a href=\"http://h/x\">\r\n <b>Bold</b>\t&amp; <i\nclass=\"c\">more</i>\r\n</a>", 2,
         {A("http://h/x", " Bold\t&amp; more")}},
        {"anchor without </a>", "<a href=\"http://h/1\">one", 2, {A("http://h/1")}},
        {"unclosed anchor takes the next anchor's text",
         "<a href=\"http://h/1\">one <a href=\"http://h/2\">two</a><a href=\"http://h/3\">three</a>", 2,
         {A("http://h/1", "one two"), A("http://h/3", "three")}},
        {"anchor wrapping an image",
         "<a href=\"http://h/p.html\"><img src=\"http://h/i.png\" alt=\"Pic\"></a>", 2,
         {A("http://h/p.html"), I("http://h/i.png", "Pic")}},
        {"images follow all anchors",
         "<img src=\"http://h/1.png\"><a href=\"http://h/a\">a</a><img src=\"http://h/2.png\">", 2,
         {A("http://h/a", "a"), I("http://h/1.png"), I("http://h/2.png")}},
        {"alt unquoted with blanks", "<img src=http://h/i.png alt=A picture of x>", 2, {I("http://h/i.png", "A picture of x")}},
        {"alt single-quoted keeps double quotes", "<img src=http://h/i.png alt='say \"hi\"'>", 2, {I("http://h/i.png", "say \"hi\"")}},
        {"alt ends at a double quote", "<img alt=\"x\" src=\"http://h/i.png\">", 2, {I("http://h/i.png", "x")}},
        {"alt line ends dropped", "<img src=\"http://h/i.png\" alt=\"a\r\nb\">", 2, {I("http://h/i.png", "ab")}},
        {"first src= counts (lazy loading)",
         "<img data-src=\"http://h/real.png\" src=\"http://h/blank.gif\">", 2, {I("http://h/real.png")}},
        {"line break after <img", "<img\nsrc=\"http://h/i.png\">", 2, {I("http://h/i.png")}},
        {"<img without blank", "<img/src=\"http://h/i.png\">", 2, {}},
        {"text ends at its first zero byte", std::string("<a href=http://h/1>1</a>\0<a href=http://h/2>2</a>", 48), 2,
         {A("http://h/1", "1")}},
        {"tag never closed", "<a href=\"http://h/1\" <img src=\"http://h/i.png\"", 2, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;
}

// Blanks and line breaks between '=' and the value, as browsers allow
// them (pages written by hand wrap long anchors there).
TEST_F(Scan, BlanksAndLineBreaksAfterTheEqualsSign) {
    const Case cases[] = {
        {"blank, double-quoted", "<a href= \"http://h/x.html\">X</a>", 2, {A("http://h/x.html", "X")}},
        {"line break, double-quoted", "<a href=\n\"http://h/x.html\"\n>X</a>", 2, {A("http://h/x.html", "X")}},
        {"CR LF and tab, single-quoted", "<a href=\r\n\t'http://h/x.html'>X</a>", 2, {A("http://h/x.html", "X")}},
        {"form feed", "<a href=\f\"http://h/x.html\">X</a>", 2, {A("http://h/x.html", "X")}},
        {"blanks, unquoted", "<a href=   http://h/x.html target=_top>X</a>", 2, {A("http://h/x.html", "X")}},
        {"quoted value with a blank after its quote",
         "<a href=\n\"http://sourceforge.net/projects/expat/\" >Source Forge</a>", 1,
         {A("http://sourceforge.net/projects/expat/", "Source Forge")}},
        {"a fragment on the next line", "<a href= \"#XML_Parse\"\n   >XML_Parse</a>", 1,
         {A("http://h/a/b/c.html#XML_Parse", "XML_Parse")}},
        {"relative, mode 1", "<a href=\n'd.html'>d</a>", 1, {A("http://h/a/b/d.html", "d")}},
        {"relative, mode 2", "<a href=\n'd.html'>d</a>", 2, {}},
        {"only blanks before '>', mode 1: the page", "<a href= >X</a>", 1, {A("http://h/a/b/c.html", "X")}},
        {"only blanks before '>', mode 2", "<a href= \n>X</a>", 2, {}},
        {"image source", "<img src=\r\n\"http://h/i.png\" alt=\"I\">", 2, {I("http://h/i.png", "I")}},
        {"lazy-loading source", "<img data-src= \"http://h/lazy.png\" src=\"http://h/blank.gif\">", 2,
         {I("http://h/lazy.png")}},
        // A blank before '=' still hides the attribute.
        {"blank before =", "<a href = \"http://h/x\">X</a>", 2, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;
}

// Tags broken after their names, as editors and templates write them:
// read as any other, with everything after the name as usual.
TEST_F(Scan, TagsBrokenAfterTheirNames) {
    const Case cases[] = {
        {"blank, tab, CR, LF, CR LF",
         "<a href=\"http://h/1\">1</a><a\thref=\"http://h/2\">2</a><a\rhref=\"http://h/3\">3</a>"
         "<a\nhref=\"http://h/4\">4</a><a\r\nhref=\"http://h/5\">5</a>", 2,
         {A("http://h/1", "1"), A("http://h/2", "2"), A("http://h/3", "3"), A("http://h/4", "4"),
          A("http://h/5", "5")}},
        {"several, upper case, line breaks after href=", "<A\r\n\t  HREF=\r\n  \"http://h/x\"\n  class=c\n>X</A>",
         2, {A("http://h/x", "X")}},
        {"images with their alt texts", "<IMG\r\n src=\"http://h/i.png\"\r\n alt=\"An\r\n image\"><img\tsrc=j.png alt=J>",
         1, {I("http://h/i.png", "An image"), I("http://h/a/b/j.png", "J")}},
        {"unquoted value ends at its blank", "<a\nhref=http://h/x.html id=y>X</a>", 2, {A("http://h/x.html", "X")}},
        {"look-alike names", "<abbr href=\"http://h/1\">1</abbr><address href=\"http://h/2\"><area\nhref=\"http://h/3\">"
         "<image\tsrc=\"http://h/4.png\"><imgs src=\"http://h/5.png\"><a\fhref=\"http://h/6\">6</a>", 2, {}},
        {"an opening cut by the page's end", "<a href=\"http://h/1\">1</a><a", 2, {A("http://h/1", "1")}},
        {"an image opening cut by the page's end", "<img src=\"http://h/i.png\"><img\n", 2, {I("http://h/i.png")}},
        {"anchor wrapping a broken image",
         "<a\nhref=\"http://h/p.html\"><img\nsrc=\"http://h/i.png\"\nalt=\"Pic\"></a>", 2,
         {A("http://h/p.html"), I("http://h/i.png", "Pic")}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;
}

TEST_F(Scan, RelativeLinksByMode) {
    const Case cases[] = {
        {"bare file name", "<a href=\"d.html\">d</a>", 1, {A("http://h/a/b/d.html", "d")}},
        {"./", "<a href=\"./d.html\">d</a>", 1, {A("http://h/a/b/d.html", "d")}},
        {"../", "<a href=\"../d.html\">d</a>", 1, {A("http://h/a/d.html", "d")}},
        {"three ../", "<a href=\"../../../d.html\">d</a>", 1, {}},
        {"rooted", "<a href=\"/r/d.html\">d</a>", 1, {A("http://h/r/d.html", "d")}},
        {"../ in the middle", "<a href=\"x/../d.html\">d</a>", 1, {}},
        {"relative dropped in mode 2", "<a href=\"d.html\">d</a>", 2, {}},
        {"relative image", "<img src=\"i/p.png\" alt=\"p\">", 1, {I("http://h/a/b/i/p.png", "p")}},
        // Secure web links are the http kind: absolute in every mode.
        {"https in mode 2", "<a href=\"https://s/x\">s</a>", 2, {A("https://s/x", "s")}},
        {"https in mode 1", "<a href=\"HTTPS://s/x\">s</a>", 1, {A("HTTPS://s/x", "s")}},
        // Blanks around a value go before it is tested.
        {"blanks around", "<a href=\" \r\nhttp://h/x \">x</a><img src=\"\tp.png \">", 1,
         {A("http://h/x", "x"), I("http://h/a/b/p.png")}},
        {"blanks around, relative, mode 2", "<a href=\" d.html\">x</a>", 2, {}},
        // Ampersand references in values, not in titles.
        {"ampersands", "<a href=\"q?a=1&amp;b=2&#38;c=3&#x26;d\">1&amp;2</a><img src=\"i?a&amp;b\" alt=\"&amp;\">", 1,
         {A("http://h/a/b/q?a=1&b=2&c=3&d", "1&amp;2"), I("http://h/a/b/i?a&b", "&amp;")}},
        // Every character reference in a value, in both passes.
        {"references", "<a href=\"mailto:nas&#37;&#52;&#48;debian&#46;org\">m</a>"
                       "<a href=\"caf&#xE9;.html?q=&lt;x&gt;\">c</a><img src=\"p&#46;png\" alt=\"&amp;\">", 1,
         {A("mailto:nas%40debian.org", "m"), A("http://h/a/b/caf%C3%A9.html?q=%3Cx%3E", "c"),
          I("http://h/a/b/p.png", "&amp;")}},
        // Protocol-relative links take the base's scheme.
        {"protocol-relative", "<a href=\"//cdn/x.js\">c</a><img src=\"//cdn/i.png\">", 1,
         {A("http://cdn/x.js", "c"), I("http://cdn/i.png")}},
        {"protocol-relative, mode 2", "<a href=\"//cdn/x.js\">c</a>", 2, {}},
        // Other schemes are no links of this page.
        {"other schemes",
         "<a href=\"javascript:go()\">j</a><a href=\"data:text/html,x\">d</a><a href=\"tel:1\">t</a>"
         "<a href=\"about:blank\">a</a><a href=\"news:x\">n</a><img src=\"data:image/png;base64,AA\">",
         1, {}},
        // Fragments and queries stay on this page.
        {"fragment and query", "<a href=\"#top\">t</a><a href=\"?p=2\">p</a>", 1,
         {A("http://h/a/b/c.html#top", "t"), A("http://h/a/b/c.html?p=2", "p")}},
        {"fragment and query, mode 2", "<a href=\"#top\">t</a><a href=\"?p=2\">p</a>", 2, {}},
        {"mailto and file", "<a href=\"mailto:a@b.c\">m</a><a href=\"file:///C:/x.txt\">f</a>", 2,
         {A("mailto:a@b.c", "m"), A("file:///C:/x.txt", "f")}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;
}

TEST_F(Scan, SwitchedOffSchemesAreDroppedNotJoined) {
    settings.schemeEnabled = {0, 1, 1, 1};
    EXPECT_EQ(scan("<a href=\"http://o/x\">x</a><a href=\"ftp://f/x\">f</a>", "ftp://f/d/", 1),
              (Rows{A("ftp://f/x", "f")}));
}

TEST_F(Scan, LengthLimits) {
    const std::string u250 = "http://h/" + std::string(250, 'u');  // 259 characters
    const std::string tag520 = "<a href=\"http://h/x\"" + std::string(520 - 21, ' ') + ">";
    ASSERT_EQ(tag520.size(), 520u);
    const Case cases[] = {
        {"259-character link", "<a href=\"" + u250 + "\">x</a>", 2, {A(u250, "x")}},
        {"260-character link", "<a href=\"" + u250 + "v\">x</a>", 2, {}},
        {"anchor measured after its blanks go", "<a href=\"" + u250 + "    \">x</a>", 2, {A(u250, "x")}},
        {"anchor with inner blanks", "<a href=\"http://h/ " + std::string(250, 'u') + "\">x</a>", 2, {A(u250, "x")}},
        {"image measured before", "<img src=\"http://h/ " + std::string(250, 'u') + "\">", 2, {}},
        {"520-character tag", tag520 + "x</a>", 2, {A("http://h/x", "x")}},
        {"521-character tag", "<a " + tag520.substr(2) + "x</a>", 2, {}},
        {"5,000-character href", "<a href=\"http://h/" + std::string(5000, 'x') + "\">x</a><a href=http://h/ok>ok</a>", 2,
         {A("http://h/ok", "ok")}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;

    // Titles: 259 characters, never half a character.
    const std::string kanji = "\x8a\xbf";
    scan("<a href=http://h/>" + std::string(300, 't') + "</a><img src=http://h/i alt=\"" +
         std::string(258, 'a') + kanji + "\">");
    ASSERT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(urlList.entries[0].title, std::string(259, 't'));
    EXPECT_EQ(urlList.entries[1].title, std::string(258, 'a'));
    scan("<a href=http://h/>" + std::string(257, 't') + kanji + "x</a>");
    EXPECT_EQ(urlList.entries[0].title, std::string(257, 't') + kanji);
}

TEST_F(Scan, FiveHundredEntriesAnchorsFirst) {
    std::string anchors600, mixed;
    for (int i = 0; i < 600; ++i) anchors600 += "<a href=\"http://h/" + std::to_string(i) + "\">" + std::to_string(i) + "</a>\n";
    for (int i = 0; i < 300; ++i)
        mixed += "<img src=\"http://h/" + std::to_string(i) + ".png\"><a href=\"http://h/" + std::to_string(i) + "\">a</a>";

    scan(anchors600);
    ASSERT_EQ(urlList.urlCount, 500);
    EXPECT_EQ(listRow(urlList.entries[499]), A("http://h/499", "499"));

    scan(mixed);
    ASSERT_EQ(urlList.urlCount, 500);
    EXPECT_EQ(listRow(urlList.entries[299]), A("http://h/299", "a"));
    EXPECT_EQ(listRow(urlList.entries[300]), I("http://h/0.png"));
    EXPECT_EQ(listRow(urlList.entries[499]), I("http://h/199.png"));

    // 10,000 anchors: 500 rows, the first ones.
    std::string many;
    for (int i = 0; i < 10000; ++i) many += "<a href=http://h/" + std::to_string(i) + ">x</a>";
    scan(many);
    ASSERT_EQ(urlList.urlCount, 500);
    EXPECT_EQ(urlList.entries[499].url, "http://h/499");
}

TEST_F(Scan, EntryFields) {
    scan("<a href=\"http://h/d/p.HTML?x=1.txt#y\">p</a><a href=\"ftp://f/dir/\">f</a>"
         "<a href=\"mailto:a@b\">m</a><img src=\"file:///C:/x/i.png\">");
    ASSERT_EQ(urlList.urlCount, 4);
    struct Want { std::string scheme, extension; int kind; };
    const Want want[] = {{"http", ".HTML", Anchor}, {"ftp", "blank", Anchor}, {"mailto", "blank", Anchor},
                         {"file", ".png", Image}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(urlList.entries[i].scheme, want[i].scheme) << i;
        EXPECT_EQ(urlList.entries[i].extension, want[i].extension) << i;
        EXPECT_EQ(urlList.entries[i].kind, want[i].kind) << i;
    }
}

TEST_F(Scan, BadInput) {
    EXPECT_EQ(scan(""), Rows{});
    // Random bytes, zero bytes among them: the text ends at the first zero
    // byte and whatever is before it is scanned without harm.
    std::mt19937 random(12);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        const char* pieces[] = {"<a ", "<img ", "href=", "src=", "alt=", "\"", "'", ">", "</a>", "<", " ",
                                "http://h/", "../", "\x82", "\x95\x5c", "\r\n", "#", "?", "//"};
        for (int i = 0; i < 200; ++i) {
            if (random() % 3 == 0) bytes += static_cast<char>(random() % 256);
            else bytes += pieces[random() % (sizeof pieces / sizeof *pieces)];
        }
        std::string b = base;
        scanLinks(bytes, b, 1 + static_cast<int>(random() % 2));
        ASSERT_LE(urlList.urlCount, 500);
        for (int i = 0; i < urlList.urlCount; ++i) {
            ASSERT_LT(urlList.entries[i].url.size(), 260u);
            ASSERT_LT(urlList.entries[i].title.size(), 260u);
        }
    }
}

// The anchor pass as written, searching for "</a>" anew for every anchor,
// on pages built from a few pieces: the scan must give the same rows.
Rows writtenAnchorRule(const std::string& page) {
    Rows rows;
    std::size_t cursor = 0;
    while (rows.size() < 500) {
        std::size_t open = page.find("<a ", cursor);
        if (open == std::string::npos) break;
        std::size_t close = page.find('>', open);
        if (close == std::string::npos) break;
        cursor = close;
        std::string tag = page.substr(open, close - open + 1);
        std::size_t href = tag.find("href=");
        if (href == std::string::npos) continue;
        std::string url = tag.substr(href + 5, tag.size() - href - 6);
        std::size_t end = page.find("</a>", close + 1);
        std::string title;
        if (end != std::string::npos) {
            for (std::size_t i = close + 1; i < end; ++i) {
                if (page[i] == '<') {
                    std::size_t c = page.find('>', i);
                    if (c == std::string::npos || c >= end) break;
                    i = c;
                } else {
                    title += page[i];
                }
            }
            cursor = end;
        }
        rows.push_back(A(url, title));
    }
    return rows;
}

TEST_F(Scan, AnchorEndsAsIfSearchedAnewForEveryAnchor) {
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::string page;
        int n = 0;
        for (int i = 0; i < 40; ++i) {
            switch (random() % 8) {
                case 0: page += "<a href=http://h/" + std::to_string(n++) + ">"; break;
                case 1: page += "</a>"; break;
                case 2: page += "<a name=x>"; break;
                case 3: page += "<b>"; break;
                // Look-alikes of an end, and text that moves the rest
                // across the blocks a page is searched in.
                case 4: page += random() % 2 ? "</abbr>" : "</a x>"; break;
                case 5: page += std::string(random() % 40, 'x'); break;
                default: page += "t" + std::to_string(i); break;
            }
        }
        ASSERT_EQ(scan(page), writtenAnchorRule(page)) << page;
    }
}

// Anchors after an anchor without an end, more of them than the reading
// keeps notes of.
TEST_F(Scan, AnchorsAfterAnAnchorThatNeverCloses) {
    std::string skipped, unclosed;
    // The notes hold 65,536 of each kind.
    for (int i = 0; i < 70000; ++i) skipped += "<a name=x" + std::to_string(i) + ">";
    for (int i = 0; i < 5000; ++i) unclosed += "<a href=http://h/" + std::to_string(i) + ">t";
    std::string ends, images;
    std::string brokenImages;
    for (int i = 0; i < 70000; ++i) ends += "</A>", images += "<IMG alt=x>";
    for (int i = 0; i < 140000; ++i) brokenImages += i % 2 ? "<IMG\nclass=x>" : "<img\r\nalt=x>";
    const std::string t40(40, 't'), u40(40, 'u');
    const Case cases[] = {
        {"70,000 skipped tags after it", "<a href=http://h/first>" + skipped + "<a href=http://h/last>z", 2,
         {A("http://h/first"), A("http://h/last")}},
        {"upper-case ends after long texts",
         "<A HREF=http://h/1>" + t40 + "</A><a href=http://h/2>" + u40 + "</a  ><A href=http://h/3>z</A>" + t40, 2,
         {A("http://h/1", t40), A("http://h/2", u40 + "z")}},
        {"an end after all", "<a href=http://h/1>" + skipped + "</a><a href=http://h/2>2</a>", 2,
         {A("http://h/1", ""), A("http://h/2", "2")}},
        {"70,000 ends before the first anchor", ends + "<a href=http://h/1>1</a>", 2, {A("http://h/1", "1")}},
        {"70,000 images without a source first", images + "<img src=http://h/i.png>", 2, {I("http://h/i.png")}},
        {"140,000 broken images without a source first", brokenImages + "<img\tsrc=http://h/i.png>" + brokenImages +
         "<img\nsrc=http://h/j.png>", 2, {I("http://h/i.png"), I("http://h/j.png")}},
    };
    for (const Case& c : cases) EXPECT_EQ(scan(c.page, base, c.mode), c.want) << c.name;
    scan(unclosed);
    ASSERT_EQ(urlList.urlCount, 500);
    EXPECT_EQ(listRow(urlList.entries[499]), A("http://h/499"));
}

}  // namespace
