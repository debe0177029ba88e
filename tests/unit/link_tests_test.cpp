// Which texts count as accepted URLs, the first URL of a text, the URL of
// an Internet shortcut and the kind of a file by its extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "links/link_tests.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// Records how much of a file each read asks for.
class ReadWatcher : public FakePlatform {
public:
    std::size_t largestRead = 0;
    bool readFile(const std::string& p, std::string& out, std::size_t max, bool create) override {
        largestRead = std::max(largestRead, max);
        return FakePlatform::readFile(p, out, max, create);
    }
};

class LinkTests : public ::testing::Test {
protected:
    Settings saved = settings;
    TempDir dir;
    void SetUp() override {
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.pageExtensions = {".html", ".htm"};
        settings.pageExtensionCount = 2;
    }
    void TearDown() override { settings = saved; }
    std::string found(std::string text, int stopMode = 0) {
        return findFirstUrl(text, stopMode) == 0 ? text : "-1";
    }
    std::string shortcut(const std::string& content) {
        return readShortcutUrl(dir.write("s.url", content));
    }
};

TEST_F(LinkTests, ClassifyLink) {
    struct Case { std::string text; int want; };
    const Case cases[] = {
        {"HTTP://a/b", 0}, {"hTTps://a/b", 0}, {"ftp://h/f.zip", 0}, {"MailTo:a@b.c", 0},
        {"FILE://C:/x.txt", 1}, {" http://a/b", -1}, {"news:comp.lang", -1}, {"http:/a/b", -1},
        {"http://h/" + std::string(300, 'p'), -1},  // does not split
    };
    for (const Case& c : cases) EXPECT_EQ(classifyLink(c.text), c.want) << c.text;
    classifyLink("https://h/a.html");
    EXPECT_EQ(urlParts.urlPath, "/a.html");
}

TEST_F(LinkTests, FindFirstUrl) {
    const std::string p250(250, 'p');
    struct Case { std::string text; int stopMode; std::string want; };
    const Case cases[] = {
        {"see http://a/b and ftp://c/", 0, "http://a/b"},
        {"see ftp://c/ and http://a/b", 0, "ftp://c/"},
        {"go HTTPS://s/x now, not http://h/", 0, "HTTPS://s/x"},
        {"file://C:/x then mailto:a@b", 0, "file://C:/x"},
        {"<a href='http://a/b c'>", 0, "http://a/b"},
        {"<a href='http://a/b c'>", 1, "http://a/b c"},
        {"\"http://a/\"q\" b>", 1, "http://a/\"q\" b"},
        {"x http://a/b c'd>e", 2, "http://a/b c'd>e"},
        // An apostrophe is part of a URL unless the URL began after one.
        {"https://host/wiki/Schindler's_List", 0, "https://host/wiki/Schindler's_List"},
        {"see http://h/it's>more", 0, "http://h/it's"},
        {"'http://a/b' x", 0, "http://a/b"},
        {"x'http://a/b'c", 0, "http://a/b"},
        {"\"http://h/Schindler's List\"", 1, "http://h/Schindler's List\""},
        {"'http://a/b c' d", 1, "http://a/b c"},
        {"'see http://a/it's'", 0, "http://a/it's'"},
        {"x http://h/" + p250, 0, "http://h/" + p250},  // 259 characters
        {"x http://h/" + p250 + "q", 0, "-1"},           // 260
        {"www.example.com/page", 0, "-1"},
    };
    for (const Case& c : cases) EXPECT_EQ(found(c.text, c.stopMode), c.want) << c.text;
}

TEST_F(LinkTests, ReadShortcutUrl) {
    const std::string u250 = "http://h/" + std::string(250, 'u');
    struct Case { std::string content, want; };
    const Case cases[] = {
        {"[InternetShortcut]\r\nURL=https://h/a.html\r\nIconIndex=0\r\n", "https://h/a.html"},
        // The URL of the [InternetShortcut] section, not a base URL before it.
        {"[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nURL=http://h/x\r\n", "http://h/x"},
        {"[InternetShortcut]\r\nBASEURL=http://base/\r\nURL=http://h/x\r\n", "http://h/x"},
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n[DEFAULT]\r\nBASEURL=http://base/\r\n"
         "URL=http://default/\r\n[InternetShortcut]\r\nIDList=\r\n  url = http://h/x\r\nIconIndex=1\r\n",
         "http://h/x"},
        {"[internetshortcut]\nURL=http://h/lower\n", "http://h/lower"},
        {"[DEFAULT]\r\nURL=http://default/\r\n[InternetShortcut]\r\nIconIndex=0\r\n", ""},
        {"[InternetShortcut]\r\nIconIndex=0\r\n[Other]\r\nURL=http://other/\r\n", ""},
        {"[DEFAULT]\r\nBASEURL=http://base/\r\n", "http://base/"},
        {"url=ftp://h/a b\nx", "ftp://h/a"},
        {"[InternetShortcut]\r\nURL=file:///C:/x.txt", "file:///C:/x.txt"},
        {"[InternetShortcut]\r\nIconIndex=0\r\n", ""},
        {"URL=just words\r\n", ""},
        {std::string(780, ';') + "\r\nURL=http://h/late\r\n", ""},
        {"URL=" + u250 + "\r\n", u250},
        {"URL=" + u250 + "v\r\n", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(shortcut(c.content), c.want) << c.content.substr(0, 40);
    EXPECT_EQ(readShortcutUrl(dir.file("missing.url")), "");

    std::string huge = "URL=http://h/big\r\n";
    huge.append(10 * 1024 * 1024, 'z');
    ReadWatcher watcher;
    EXPECT_EQ(shortcut(huge), "http://h/big");
    // The head holds the wide section too, which follows the ANSI one.
    EXPECT_LE(watcher.largestRead, 4096u);
}

TEST_F(LinkTests, SwitchedOffSchemesAreNeitherFoundNorAccepted) {
    settings.schemeEnabled[schemeHttp] = 0;
    EXPECT_EQ(classifyLink("http://h/"), -1);
    EXPECT_EQ(classifyLink("https://h/"), -1);
    EXPECT_EQ(found("http://h/ https://s/ ftp://c/"), "ftp://c/");
    EXPECT_EQ(found("only http://h/ and https://s/"), "-1");
    EXPECT_EQ(shortcut("URL=http://h/a\r\n"), "");
    EXPECT_EQ(shortcut("URL=https://h/a\r\n"), "");
    EXPECT_EQ(shortcut("URL=news:comp.lang\r\n"), "news:comp.lang");  // has no switch

    settings.schemeEnabled = {1, 0, 0, 0};
    EXPECT_EQ(classifyLink("file:///C:/x"), -1);
    EXPECT_EQ(found("file:///C:/x mailto:a@b ftp://c/ http://h/"), "http://h/");
    EXPECT_EQ(shortcut("URL=ftp://h/a\r\n"), "");
}

TEST_F(LinkTests, FileKindByExtension) {
    struct Case { std::string path; int want; };
    const Case cases[] = {
        {"C:\\links\\page.URL", fileKindShortcut}, {"page.url", fileKindShortcut},
        {"page.HTM", fileKindHtml}, {"C:\\web\\index.html", fileKindHtml},
        {"page.url.txt", fileKindOther}, {"page.urls", fileKindOther},
        {"page.xhtml", fileKindOther}, {"C:\\dir.url\\page", fileKindOther},
    };
    for (const Case& c : cases) EXPECT_EQ(fileKindByExtension(c.path), c.want) << c.path;
    settings.pageExtensions = {".php"};
    settings.pageExtensionCount = 1;
    EXPECT_EQ(fileKindByExtension("page.PHP"), fileKindHtml);
    EXPECT_EQ(fileKindByExtension("page.html"), fileKindOther);
}

}  // namespace
