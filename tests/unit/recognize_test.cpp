// Input recognition: the token walk, the file-system tests, URLs with
// titles, the limits, and the clipboard reader built on it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/url_list.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// "表" (0x95 0x5C) ends in a backslash byte; "ア" (0x83 0x41) in 'A'.
const std::string hyo = "\x95\x5c";
const std::string kataA = "\x83\x41";

struct Entry {
    std::string url, title, scheme, extension;
    bool operator==(const Entry& o) const {
        return url == o.url && title == o.title && scheme == o.scheme && extension == o.extension;
    }
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << "{" << e.url << " | " << e.title << " | " << e.scheme << " | " << e.extension << "}";
}

std::vector<Entry> entries() {
    std::vector<Entry> out;
    for (int i = 0; i < urlList.urlCount; ++i) {
        const UrlEntry& e = urlList.entries[i];
        out.push_back({e.url, e.title, e.scheme, e.extension});
    }
    return out;
}

class Recognize : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        settings.pageExtensions[0] = ".html";
        settings.pageExtensions[1] = ".htm";
        settings.pageExtensionCount = 2;
        userParameters = UserParameters{};
        urlList = UrlList{};
        urlParts = UrlParts{};
        runState = RunState{};
    }
    TempDir dir;
};

TEST_F(Recognize, TextTokens) {
    struct Case {
        const char* what;
        std::string text;
        int lineMode;
        std::vector<Entry> want;
    };
    const Case cases[] = {
        {"two URLs", "http://a/ http://b/", 0,
         {{"http://a/", "", "http", "blank"}, {"http://b/", "", "http", "blank"}}},
        {"title", "http://a/||Home", 0, {{"http://a/", "Home", "http", "blank"}}},
        {"quoted title keeps its spaces", "\"http://a/x.html||My Home\"", 0,
         {{"http://a/x.html", "My Home", "http", ".html"}}},
        {"unquoted title ends at a space", "http://a/||My Home", 0,
         {{"http://a/", "My", "http", "blank"}}},
        {"the extension is the URL's, not the title's", "http://a/x.html||t.txt", 0,
         {{"http://a/x.html", "t.txt", "http", ".html"}}},
        {"quoted URL keeps its spaces", "\"http://a/b c.html\"", 0,
         {{"http://a/b c.html", "", "http", ".html"}}},
        {"unquoted ends at '>', and at an apostrophe after one", "<http://a/b> 'http://c/d' /#b=http://e/", 0,
         {{"http://a/b", "", "http", "blank"}, {"http://c/d", "", "http", "blank"},
          {"http://e/", "", "http", "blank"}}},
        {"an apostrophe inside belongs to the URL", "https://host/wiki/Schindler's_List", 0,
         {{"https://host/wiki/Schindler's_List", "", "https", "blank"}}},
        {"a quoted URL with an apostrophe", "\"http://h/Schindler's List.html\"", 0,
         {{"http://h/Schindler's List.html", "", "http", ".html"}}},
        {"query is not part of the path", "http://a/b.cgi?x=1 ftp://f/dir/", 0,
         {{"http://a/b.cgi?x=1", "", "http", ".cgi"}, {"ftp://f/dir/", "", "ftp", "blank"}}},
        {"secure web links", "https://a/x.html", 0, {{"https://a/x.html", "", "https", ".html"}}},
        {"line feed joins in line mode 0", "http://a/\nx", 0, {{"http://a/x", "", "http", "blank"}}},
        {"line feed separates in line mode 1", "http://a/\nx", 1, {{"http://a/", "", "http", "blank"}}},
        {"carriage returns vanish", "http://a/\r\nb.htm", 0, {{"http://a/b.htm", "", "http", ".htm"}}},
        // A tab ends a URL as a blank does: two spreadsheet columns.
        {"a tab ends a URL", "http://a/x.html\tMy", 0, {{"http://a/x.html", "", "http", ".html"}}},
        {"columns of a table", "http://a/x.html\tMy\r\nhttp://b/y.gif\t2\r\n", 1,
         {{"http://a/x.html", "", "http", ".html"}, {"http://b/y.gif", "", "http", ".gif"}}},
        {"a tab ends a title as a blank does", "http://a/x.html||My\tTitle", 0,
         {{"http://a/x.html", "My", "http", ".html"}}},
        {"a tab before a quote", "http://a/\t\"http://b/c d\"", 0,
         {{"http://a/", "", "http", "blank"}, {"http://b/c d", "", "http", "blank"}}},
        {"a tab inside quotes vanishes", "\"http://a/x y\t.html||T\ti\"", 0,
         {{"http://a/x y.html", "Ti", "http", ".html"}}},
        {"an unclosed quote runs to the end", "\"see http://a/ b.html", 0,
         {{"http://a/", "", "http", "blank"}}},
        {"an unclosed quote runs to the line end", "\"x http://a/ b\nhttp://c/ d", 1,
         {{"http://a/", "", "http", "blank"}, {"http://c/", "", "http", "blank"}}},
        {"a quote ends the token before it", "x\"http://a/ b\"", 0, {{"http://a/ b", "", "http", "blank"}}},
        {"Shift-JIS title", "http://a/" + hyo + ".html||" + kataA + hyo, 0,
         {{"http://a/" + hyo + ".html", kataA + hyo, "http", ".html"}}},
        {"Shift-JIS quoted title", "\"http://a/||" + hyo + " " + kataA + "\"", 0,
         {{"http://a/", hyo + " " + kataA, "http", "blank"}}},
        // Only the URL must stay under 260 characters, the title on its own
        // too. (URL and title together used to: a list written with long
        // titles lost those rows when read back.)
        {"URL and title of 259 characters", "http://a/||" + std::string(248, 't'), 0,
         {{"http://a/", std::string(248, 't'), "http", "blank"}}},
        {"URL and title of 260 characters", "http://a/||" + std::string(249, 't'), 0,
         {{"http://a/", std::string(249, 't'), "http", "blank"}}},
        {"URL of 259 and title of 259 characters", "\"http://a/" + std::string(250, 'p') + "||" + std::string(259, 't') + "\"", 0,
         {{"http://a/" + std::string(250, 'p'), std::string(259, 't'), "http", "blank"}}},
        {"a title of 260 characters is dropped", "http://a/||" + std::string(260, 't'), 0,
         {{"http://a/", "", "http", "blank"}}},
        {"URL of 260 characters with a title", "http://a/" + std::string(251, 'p') + "||t http://b/", 0,
         {{"http://b/", "", "http", "blank"}}},
        {"URL of 260 characters is not taken", "http://a/" + std::string(251, 'p') + " http://b/", 0,
         {{"http://b/", "", "http", "blank"}}},
        {"nothing", "   plain words ", 0, {}},
        {"empty", "", 1, {}},
    };
    for (const auto& c : cases) {
        urlList = UrlList{};
        EXPECT_EQ(recognizeInput(c.text, c.lineMode, 0), recognizedUrls) << c.what;
        EXPECT_EQ(entries(), c.want) << c.what;
    }
}

TEST_F(Recognize, SwitchedOffSchemesAreNotFound) {
    settings.schemeEnabled = {0, 1, 1, 1};
    recognizeInput("http://a/ https://b/ mailto:x@y.org", 0, 0);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"mailto:x@y.org", "", "mailto", ".org"}}));
}

TEST_F(Recognize, TokenAndTableLimits) {
    // A token holds 1,039 characters; the rest of it is dropped.
    recognizeInput(std::string(1030, 'x') + "http://a/ http://b/", 0, 0);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://a/", "", "http", "blank"},
                                             {"http://b/", "", "http", "blank"}}));
    // A URL that the cut reaches lost its end: it is not taken (it used to
    // be taken as "http://a", another page) and is recorded as too long.
    recognizeInput(std::string(1031, 'x') + "http://a/ http://b/", 0, 0);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://b/", "", "http", "blank"}}));
    ASSERT_EQ(overlongUrls.noteCount, 1);
    EXPECT_EQ(overlongUrls.notes[0].limit, overlong::token);
    EXPECT_EQ(overlongUrls.notes[0].head, "http://a");

    // Only the first 500 URLs count, and the text after them is not read:
    // the folder at its end does not win.
    std::string many;
    for (int i = 0; i < 600; ++i) many += "http://h/" + std::to_string(i) + " ";
    dir.mkdir("late");
    EXPECT_EQ(recognizeInput(many + dir.file("late"), 0, 1), recognizedUrls);
    ASSERT_EQ(urlList.urlCount, maxUrlEntries);
    EXPECT_EQ(urlList.entries[499].url, "http://h/499");

    // The longest clipboard text, in one pass.
    std::string longText = std::string(30150, ' ') + "http://a/";
    ASSERT_EQ(longText.size(), 30159u);
    EXPECT_EQ(recognizeInput(longText, 1, 0), recognizedUrls);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://a/", "", "http", "blank"}}));
}

TEST_F(Recognize, FoldersAndFiles) {
    const std::string folder = dir.mkdir("sub");
    const std::string spaced = dir.mkdir("a b");
    const std::string page = dir.write("page.HTM", "<html>");
    const std::string other = dir.write("page.url.txt", "x");
    struct Case {
        const char* what;
        std::string text;
        int fileChecks;
        int result;
        std::string url;  // entry 0, the only one
    };
    const Case cases[] = {
        {"folder", folder, 1, recognizedFolder, folder},
        {"trailing backslash goes", folder + "\\", 1, recognizedFolder, folder},
        {"quoted folder with a space", "\"" + spaced + "\"", 1, recognizedFolder, spaced},
        {"URLs before a folder are discarded", "http://a/ http://b/ http://c/ " + folder, 1,
         recognizedFolder, folder},
        {"page by its extension", page, 1, recognizedHtmlFile, page},
        {"any other file", "http://a/ " + other, 1, recognizedOtherFile, other},
    };
    for (const auto& c : cases) {
        urlList = UrlList{};
        EXPECT_EQ(recognizeInput(c.text, 0, c.fileChecks), c.result) << c.what;
        EXPECT_EQ(urlList.urlCount, 1) << c.what;
        EXPECT_EQ(urlList.entries[0].url, c.url) << c.what;
    }
    // Without file checks a path is only text.
    EXPECT_EQ(recognizeInput(folder, 0, 0), recognizedUrls);
    EXPECT_EQ(urlList.urlCount, 0);
}

TEST_F(Recognize, FolderWhoseNameEndsInABackslashByte) {
    const std::string folder = dir.file(hyo);
    ASSERT_TRUE(platform::os().createDirectory(folder));
    EXPECT_EQ(recognizeInput(folder, 0, 1), recognizedFolder);
    EXPECT_EQ(urlList.entries[0].url, folder);
    EXPECT_EQ(recognizeInput(folder + "\\", 0, 1), recognizedFolder);
    EXPECT_EQ(urlList.entries[0].url, folder);
}

TEST_F(Recognize, InternetShortcuts) {
    const std::string withUrl =
        dir.write("news.url", "[InternetShortcut]\r\nURL=http://s/x/feed.xml\r\n");
    const std::string withoutUrl = dir.write("empty.URL", "[InternetShortcut]\r\n");

    // The shortcut adds its URL with the file's name as title, and
    // recognition goes on.
    EXPECT_EQ(recognizeInput(withUrl + " http://b/||B", 0, 1), recognizedUrls);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://s/x/feed.xml", "news", "http", ".xml"},
                                             {"http://b/", "B", "http", "blank"}}));

    EXPECT_EQ(recognizeInput(withoutUrl, 0, 1), recognizedUrls);
    EXPECT_EQ(urlList.urlCount, 0);
}

TEST_F(Recognize, ParametersAreExpandedBeforeTheTests) {
    const std::string folder = dir.mkdir("sub");
    settings.parametersOn = 1;
    userParameters.rows[0] = {"%site%", "http://a/"};
    userParameters.rows[1] = {"%here%", dir.path()};
    userParameters.count = 2;
    EXPECT_EQ(recognizeInput("%SITE%x.html", 0, 1), recognizedUrls);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://a/x.html", "", "http", ".html"}}));
    EXPECT_EQ(recognizeInput("%here%sub", 0, 1), recognizedFolder);
    EXPECT_EQ(urlList.entries[0].url, folder);

    settings.parametersOn = 0;
    EXPECT_EQ(recognizeInput("%site%x.html", 0, 1), recognizedUrls);
    EXPECT_EQ(urlList.urlCount, 0);
}

TEST_F(Recognize, TokensHoldingAUrlKeepTheirEscapes) {
    // With "@param" on, paths and names are expanded; a token in which a
    // URL scheme occurs is taken byte for byte, its escapes are no dates.
    FakePlatform fake;
    fake.clock = platform::LocalTime{2008, 9, 5};
    settings.parametersOn = 1;
    userParameters.rows[0] = {"%site%", "http://a/"};
    userParameters.count = 1;
    struct Case { const char* what; std::string token, url; };
    const Case cases[] = {
        {"Shift_JIS text in a query", "http://h/s?q=%82%DD%82%A9", "http://h/s?q=%82%DD%82%A9"},
        {"escapes that spell date names", "http://h/%DD%/%0D%/%-m%/%4y%", "http://h/%DD%/%0D%/%-m%/%4y%"},
        {"a line break in a mail body", "mailto:a@b.c?body=x%0D%0Ay", "mailto:a@b.c?body=x%0D%0Ay"},
        {"text before the scheme", "<ftp://h/%dd%.txt>", "ftp://h/%dd%.txt"},
        {"secure link", "HTTPS://h/%0d%", "HTTPS://h/%0d%"},
        {"user parameter in the token", "http://h/%site%", "http://h/%site%"},
        {"no scheme: expanded", "%site%%dd%.html", "http://a/5.html"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recognizeInput(c.token, 0, 1), recognizedUrls) << c.what;
        ASSERT_EQ(urlList.urlCount, 1) << c.what;
        EXPECT_EQ(urlList.entries[0].url, c.url) << c.what;
    }
}

class ClipboardInput : public Recognize {
protected:
    FakePlatform fake;
};

TEST_F(ClipboardInput, NoUsableText) {
    struct Case { const char* what; std::optional<std::string> clipboard; std::string buffer; };
    const Case cases[] = {
        {"no text on the clipboard", std::nullopt, ""},
        {"empty text", std::string(), ""},
        {"nothing recognised", std::string("hello world"), "hello world"},
    };
    for (const auto& c : cases) {
        runState.transferBuffer = "old";
        fake.clipboard = c.clipboard;
        EXPECT_EQ(readClipboardInput(nullptr), -1) << c.what;
        EXPECT_EQ(runState.transferBuffer, c.buffer) << c.what;
    }
}

TEST_F(ClipboardInput, LinesAndPaths) {
    fake.clipboard = "http://a/\r\nhttp://b/||B c\r\n";
    EXPECT_EQ(readClipboardInput(nullptr), recognizedUrls);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://a/", "", "http", "blank"},
                                             {"http://b/", "B", "http", "blank"}}));

    // A path with blanks is taken whole; the buffer keeps it as copied.
    const std::string folder = dir.mkdir("a b");
    fake.clipboard = folder;
    EXPECT_EQ(readClipboardInput(nullptr), recognizedFolder);
    EXPECT_EQ(urlList.entries[0].url, folder);
    EXPECT_EQ(runState.transferBuffer, folder);

    const std::string page = dir.write("my page.html", "<html>");
    fake.clipboard = page;
    EXPECT_EQ(readClipboardInput(nullptr), recognizedHtmlFile);
    EXPECT_EQ(urlList.entries[0].url, page);
}

// A text longer than 30,159 characters is cut between two tokens: the URL
// the limit falls in is not taken cut short (it used to be, as http://a/)
// and is recorded for the box, with the limit.
TEST_F(ClipboardInput, LongTextIsCutBetweenTokens) {
    struct Case { const char* what; std::string text; std::size_t kept; std::vector<Entry> want; };
    const std::string pad(30140, ' ');
    const Case cases[] = {
        {"URL across the limit", pad + "http://z/ http://a/bcdefghijklmnopqrstuvwxyz", 30150,
         {{"http://z/", "", "http", "blank"}}},
        {"line across the limit", pad + "http://z/\r\nhttp://a/bcdefghijklmnopqrstuvwxyz", 30151,
         {{"http://z/", "", "http", "blank"}}},
        {"the limit at a blank", std::string(30150, ' ') + "http://a/ http://b/", 30159,
         {{"http://a/", "", "http", "blank"}}},
        {"quoted URL with spaces across the limit", pad + "http://z/ \"http://a/b c d e f g h\"", 30150,
         {{"http://z/", "", "http", "blank"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        urlList = UrlList{};
        fake.clipboard = c.text;
        EXPECT_EQ(readClipboardInput(nullptr), recognizedUrls);
        EXPECT_EQ(runState.transferBuffer, c.text.substr(0, c.kept));
        EXPECT_EQ(entries(), c.want);
        ASSERT_EQ(overlongUrls.noteCount, 1);
        EXPECT_EQ(overlongUrls.notes[0].limit, overlong::handOff);
        EXPECT_EQ(overlongUrls.notes[0].head[0], c.text[c.text.find_first_not_of(" \r\n", c.kept)]);
    }
    // One token longer than the limit: nothing is left to read.
    fake.clipboard = "http://a/" + std::string(31000, 'x');
    EXPECT_EQ(readClipboardInput(nullptr), -1);
    EXPECT_EQ(overlongUrls.notes[0].head.substr(0, 9), "http://a/");
    // Exactly 30,159 characters fit.
    fake.clipboard = std::string(30150, ' ') + "http://a/";
    EXPECT_EQ(readClipboardInput(nullptr), recognizedUrls);
    EXPECT_EQ(overlongUrls.noteCount, 0);
}

}  // namespace
