// Reading a link source: the file and work buffers, the code conversion
// calls, a list of URLs through recognition, a page through its base
// element, title and tag scan, and what bad files do.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/link_reading.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "links/source_file.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/link_rows.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using Rows = std::vector<std::string>;

class CountingUi final : public UiPort {
public:
    int fills = 0;
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int keepSelection) override {
        EXPECT_EQ(keepSelection, 0);
        ++fills;
    }
    void closeWindow(platform::WindowHandle) override {}
};

class LinkSourceTest : public ::testing::Test {
protected:
    Settings savedSettings = settings;
    FakePlatform fake;
    CountingUi ui_;
    UiPort* previousUi = nullptr;
    TempDir dir;

    void SetUp() override {
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.titleSeparator = "||";
        settings.parametersOn = 0;
        urlList = UrlList{};
        linkSource = LinkSource{};
        previousUi = installUi(&ui_);
    }
    void TearDown() override {
        installUi(previousUi);
        settings = savedSettings;
        linkSource = LinkSource{};
    }
    // Reads `bytes` as the file `name` in `mode` with `base`.
    int read(const std::string& name, const std::string& bytes, int mode, const std::string& base = "") {
        linkSource.linkMode = mode;
        linkSource.baseUrl = base;
        return readLinkSource(nullptr, dir.write(name, bytes));
    }
};

TEST_F(LinkSourceTest, ListFileThroughRecognition) {
    const std::string lines[] = {"http://a/1||One\r\nhttp://a/2\r\n", "http://a/1||One\nhttp://a/2\n",
                                 "http://a/1||One\rhttp://a/2\r", "http://a/1||One\rhttp://a/2"};
    for (const std::string& text : lines) {
        ASSERT_EQ(read("list.txt", "junk line\n" + text, 0), 1);
        EXPECT_EQ(listRows(), (Rows{"anchor\thttp://a/1\tOne", "anchor\thttp://a/2\t"})) << text;
        EXPECT_EQ(linkSource.listTitle, "list.txt");
        EXPECT_EQ(linkSource.listSource, dir.file("list.txt"));
    }
    EXPECT_EQ(ui_.fills, 4);
}

TEST_F(LinkSourceTest, PageHeadAndLinks) {
    struct Case {
        const char* name;
        std::string page;
        int mode;
        std::string base, wantBase;
        int wantMode;
        std::string wantTitle;
        Rows want;
    };
    const std::string link = "<a href=\"x.html\">x</a>";
    const Case cases[] = {
        {"base element raises mode 2", "<BASE HREF=\"http://b/d/p.html\">" + link, 2, "", "http://b/d/p.html", 1,
         "page.html", {"anchor\thttp://b/d/x.html\tx"}},
        {"base element overrides the caller's", "<base href=\"http://b/\">" + link, 1, "http://c/", "http://b/", 1,
         "page.html", {"anchor\thttp://b/x.html\tx"}},
        {"blanks and line ends after <base", "<base \r\n\thref=\"http://b/\">" + link, 2, "", "http://b/", 1,
         "page.html", {"anchor\thttp://b/x.html\tx"}},
        {"tab after <BASE", "<BASE\tHREF=\"http://b/\">" + link, 2, "", "http://b/", 1, "page.html",
         {"anchor\thttp://b/x.html\tx"}},
        {"another attribute before href", "<base target=_top href=\"http://b/\">" + link, 2, "", "", 2,
         "page.html", {}},
        {"a look-alike of base", "<basefont href=\"http://b/\">" + link, 2, "", "", 2, "page.html", {}},
        {"base cut by the page's end", "<title>t</title><base\r\n", 2, "", "", 2, "t", {}},
        {"base of 247 characters", "<base href=\"http://b/" + std::string(238, 'd') + "\">", 2, "",
         "http://b/" + std::string(238, 'd'), 1, "page.html", {}},
        {"base of 248 characters", "<base href=\"http://b/" + std::string(239, 'd') + "\">", 2, "", "", 2,
         "page.html", {}},
        {"unclosed base", "<base href=\"http://b/", 1, "http://c/", "http://c/", 1, "page.html", {}},
        {"empty base keeps the caller's", "<base href=\"\">" + link, 1, "http://c/", "http://c/", 1, "page.html",
         {"anchor\thttp://c/x.html\tx"}},
        {"title as it stands", "<TITLE> A <b>b</b>\r\n</Title>", 2, "", "", 2, " A <b>b</b>\r\n", {}},
        {"title of 252 characters", "<title>" + std::string(252, 't') + "</title>", 2, "", "", 2,
         std::string(252, 't'), {}},
        {"title of 253 characters", "<title>" + std::string(253, 't') + "</title>", 2, "", "", 2, "page.html", {}},
        {"title never closed", "<title>T", 2, "", "", 2, "page.html", {}},
        {"empty title", "<title></title>", 2, "", "", 2, "page.html", {}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(read("page.html", c.page, c.mode, c.base), 1) << c.name;
        EXPECT_EQ(linkSource.baseUrl, c.wantBase) << c.name;
        EXPECT_EQ(linkSource.linkMode, c.wantMode) << c.name;
        EXPECT_EQ(linkSource.listTitle, c.wantTitle) << c.name;
        EXPECT_EQ(listRows(), c.want) << c.name;
    }
}

TEST_F(LinkSourceTest, FilesThatCannotBeReadLeaveTheListAlone) {
    urlList.urlCount = 1;
    urlList.entries[0].url = "http://kept/";
    linkSource.linkMode = 2;
    EXPECT_EQ(readLinkSource(nullptr, dir.file("missing.html")), 0);
    EXPECT_EQ(readLinkSource(nullptr, dir.path()), 0);  // a folder

#ifndef _WIN32
    // A file past the limit is refused; only the limit is ever read.
    const std::string large = dir.file("large.html");
    FILE* f = std::fopen(large.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    ASSERT_EQ(truncate(large.c_str(), 200LL * 1024 * 1024), 0);
    EXPECT_EQ(readLinkSource(nullptr, large), 0);
    ASSERT_EQ(truncate(large.c_str(), static_cast<off_t>(maxLinkSourceBytes) + 1), 0);
    EXPECT_EQ(readLinkSource(nullptr, large), 0);
#endif
    EXPECT_EQ(urlList.urlCount, 1);
    EXPECT_EQ(urlList.entries[0].url, "http://kept/");
    EXPECT_EQ(ui_.fills, 0);
}

TEST_F(LinkSourceTest, BuffersAndTheirText) {
    LinkSourceText source;
    ASSERT_TRUE(source.read(dir.write("a.bin", std::string("ab\0cd", 5))));
    EXPECT_EQ(source.originalLength(), 2u);
    EXPECT_EQ(source.text(), "ab");
    EXPECT_EQ(source.workCapacity(), 16u);  // three times the file, and a zero
    ASSERT_TRUE(source.read(dir.write("e.txt", "")));
    EXPECT_EQ(source.text(), "");
    EXPECT_EQ(source.workCapacity(), 1u);
    ASSERT_TRUE(source.read(dir.write("c.txt", "a\rb\r\nc\r")));
    source.crToLf();
    EXPECT_EQ(source.text(), "a\nb\r\nc\n");

    // The text is read where it lies until a converter's text is taken
    // from the work buffer, which is handed out zero-filled; what the
    // converter wrote is then the text, and the file's buffer is given
    // back.
    ASSERT_TRUE(source.read(dir.write("w.txt", std::string("x\ry\0z", 5))));
    EXPECT_EQ(source.text(), "x\ry");
    EXPECT_EQ(std::string(source.work(), source.workCapacity()), std::string(16, '\0'));
    EXPECT_FALSE(source.takeConverted()) << "nothing written";
    EXPECT_EQ(source.text(), "x\ry");
    std::memcpy(source.work(), "w\rv", 3);
    EXPECT_EQ(source.text(), "x\ry");
    EXPECT_TRUE(source.takeConverted());
    EXPECT_EQ(source.text(), "w\rv");
    source.crToLf();
    EXPECT_EQ(source.text(), "w\nv");
    EXPECT_STREQ(source.original(), "");
    // A converter that fills the whole buffer is cut before its last byte.
    ASSERT_TRUE(source.read(dir.write("f.txt", "ab")));
    std::memset(source.work(), 'f', source.workCapacity());
    EXPECT_TRUE(source.takeConverted());
    EXPECT_EQ(source.text(), std::string(6, 'f'));
    // A second file read into the same object starts afresh.
    ASSERT_TRUE(source.read(dir.write("v.txt", "v")));
    EXPECT_EQ(source.text(), "v");
    EXPECT_EQ(std::string(source.work(), 4), std::string("\0\0\0\0", 4));
}

TEST_F(LinkSourceTest, BadFilesGiveAClearOutcome) {
    // Empty: read, nothing found.
    EXPECT_EQ(read("empty.html", "", 2), 1);
    EXPECT_EQ(urlList.urlCount, 0);
    EXPECT_EQ(read("empty.txt", "", 0), 1);
    EXPECT_EQ(urlList.urlCount, 0);

    // Random bytes with zero bytes: the text ends at the first zero byte.
    std::mt19937 random(3);
    std::string bytes = "<a href=http://h/1>1</a>";
    for (int i = 0; i < 100000; ++i) bytes += static_cast<char>(random() % 256);
    bytes[30] = '\0';
    EXPECT_EQ(read("random.html", bytes, 1, "http://h/"), 1);
    EXPECT_EQ(listRows(), (Rows{"anchor\thttp://h/1\t1"}));
    EXPECT_EQ(read("random.txt", bytes, 0), 1);
    EXPECT_EQ(urlList.urlCount, 1);

    // Long tags, long links, many anchors: the scan's own tests and the
    // limits, many-anchors and random-nul pages.
}

TEST_F(LinkSourceTest, ConversionThroughTheFirstLibraryThatConverts) {
    auto upper = [](const std::string& in) {
        std::string out = in;
        for (char& c : out) if (c == 'x') c = 'X';
        return out;
    };
    const std::string page = "<a href=http://h/x>x</a>\xE3\x81\x82";  // 27 bytes, UTF-8
    struct Case {
        const char* name;
        bool nkf, nkfOption, nkfConvert, jconv, jconvOption, jconvConvert;
        int conversion;
        std::vector<std::string> nkfCalls, jconvCalls;
        std::string wantRow;
    };
    const std::string converted = "anchor\thttp://h/X\tX", asRead = "anchor\thttp://h/x\tx";
    const Case cases[] = {
        {"nkf32.dll", true, true, true, true, true, true, 1, {"SetNkfOption -s", "NkfConvert 27"}, {}, converted},
        {"nkf32.dll without its option call", true, false, true, false, false, false, 1, {"NkfConvert 27"}, {}, converted},
        {"nkf32.dll that cannot convert", true, true, false, true, true, true, 1, {"SetNkfOption -s"},
         {"_setjconvopt@4 0", "_jconv@20 0 27 4"}, converted},
        {"jconv.dll alone", false, false, false, true, true, true, 1, {}, {"_setjconvopt@4 0", "_jconv@20 0 27 4"}, converted},
        {"jconv.dll without its option call", false, false, false, true, false, true, 1, {}, {"_jconv@20 0 27 4"}, converted},
        {"neither converts", true, true, false, true, true, false, 1, {"SetNkfOption -s"}, {"_setjconvopt@4 0"}, asRead},
        {"no library", false, false, false, false, false, false, 1, {}, {}, asRead},
        {"conversion off", true, true, true, true, true, true, 0, {}, {}, asRead},
    };
    for (const Case& c : cases) {
        fake.converters.clear();
        if (c.nkf) fake.converters["nkf32.dll"] = {c.nkfOption, c.nkfConvert, upper, {}, 0, 0};
        if (c.jconv) fake.converters["jconv.dll"] = {c.jconvOption, c.jconvConvert, upper, {}, 0, 0};
        linkSource.kanjiConversion = c.conversion;
        ASSERT_EQ(read("p.html", page, 2), 1) << c.name;
        EXPECT_EQ(listRows(), Rows{c.wantRow}) << c.name;
        for (auto& [name, converter] : fake.converters) {
            EXPECT_EQ(converter.loads, converter.frees) << c.name << " " << name;
            EXPECT_EQ(converter.calls, name == "nkf32.dll" ? c.nkfCalls : c.jconvCalls) << c.name << " " << name;
        }
    }
}

// A text the converter would leave as it is goes to no library: ASCII
// (also with the control bytes of other encodings but ESC and SO) and
// Shift_JIS. EUC-JP, ISO-2022-JP, UTF-8 and a UTF-8 byte-order mark go
// to the converter; one that writes nothing leaves the text as read.
TEST_F(LinkSourceTest, OnlyTextsThatNeedItAreConverted) {
    auto marked = [](const std::string& in) { return in.empty() ? in : "<a href=http://h/c>c</a>" + in; };
    const std::string link = "<a href=http://h/x>x</a>";
    struct Case {
        const char* name;
        std::string page;
        bool converted;
    } cases[] = {
        {"ASCII", link, false},
        {"ASCII with tabs, line ends and other control bytes", link + "\t\r\n\x01\x7F", false},
        {"Shift_JIS", link + "\x82\xA0\x82\xA2\x83\x41\x88\x9F", false},
        {"Shift_JIS declared", "<meta charset=shift_jis>" + link + "\x93\xFA\x96\x7B", false},
        {"EUC-JP", "<meta charset=euc-jp>" + link + "\xA4\xA2\xC6\xFC\xCB\xDC", true},
        {"ISO-2022-JP", link + "\x1B$B$\"\x1B(B", true},
        {"a shift out alone", link + "\x0E" "1\x0F", false},
        {"a shift out, ISO-2022-JP declared", "<meta charset=iso-2022-jp>" + link + "\x0E" "1\x0F", true},
        {"UTF-8", link + "\xE6\x97\xA5\xE6\x9C\xAC", true},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + link, true},
    };
    for (const Case& c : cases) {
        fake.converters.clear();
        fake.converters["nkf32.dll"] = {true, true, marked, {}, 0, 0};
        ASSERT_EQ(read("p.html", c.page, 2), 1) << c.name;
        EXPECT_EQ(fake.converters["nkf32.dll"].loads, c.converted ? 1 : 0) << c.name;
        EXPECT_EQ(urlList.urlCount, c.converted ? 2 : 1) << c.name;
    }
    fake.converters["nkf32.dll"] = {true, true, [](const std::string&) { return std::string(); }, {}, 0, 0};
    ASSERT_EQ(read("p.html", link + "\xE6\x97\xA5", 2), 1);
    EXPECT_EQ(fake.converters["nkf32.dll"].calls.size(), 2u);
    EXPECT_EQ(listRows(), Rows{"anchor\thttp://h/x\tx"}) << "a converter that wrote nothing";
}

TEST_F(LinkSourceTest, ConvertedTextHasThreeTimesTheRoom) {
    // A converter may write three times the input; the list-file reading
    // sees all of it.
    fake.converters["nkf32.dll"] = {true, true, [](const std::string& in) {
        std::string out = in + "\nhttp://c/";
        out.resize(3 * in.size() - 9, ' ');
        return out + "http://d/";
    }, {}, 0, 0};
    ASSERT_EQ(read("l.txt", "\xE6\x97\xA5\nhttp://a/\nhttp://b/", 0), 1);
    EXPECT_EQ(listRows(), (Rows{"anchor\thttp://a/\t", "anchor\thttp://b/\t", "anchor\thttp://c/\t",
                                "anchor\thttp://d/\t"}));
}

}  // namespace
