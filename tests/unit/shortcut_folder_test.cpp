// Shortcut folders: subfolders first, the ".url" substring rule, the
// fields of an entry, the 500 cap, and shortcuts that give no URL.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/url_list.h"
#include "links/shortcut_folder.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/link_rows.h"
#include "tests/support/temp_dir.h"

namespace {

using Rows = std::vector<std::string>;

std::string shortcutText(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url + "\r\n"; }

class ShortcutFolder : public ::testing::Test {
protected:
    Settings saved = settings;
    FakePlatform fake;
    TempDir dir;
    void SetUp() override {
        settings.schemeEnabled = {1, 1, 1, 1};
        urlList = UrlList{};
        shortcutScan = ShortcutScan{};
    }
    void TearDown() override { settings = saved; }
    Rows collect(const std::string& folder, int subfolders) {
        shortcutScan = ShortcutScan{};
        shortcutScan.includeSubfolders = subfolders;
        collectShortcuts(nullptr, folder);
        urlList.urlCount = shortcutScan.shortcutCount;
        return listRows();
    }
    static Rows sorted(Rows rows) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_F(ShortcutFolder, SubfoldersFirst) {
    for (int i = 1; i <= 3; ++i) dir.write("top" + std::to_string(i) + ".url", shortcutText("http://t/" + std::to_string(i)));
    const std::string sub = dir.mkdir("sub");
    dir.write("sub/in1.url", shortcutText("http://s/1"));
    dir.write("sub/in2.url", shortcutText("http://s/2"));

    const Rows top = {"anchor\thttp://t/1\ttop1", "anchor\thttp://t/2\ttop2", "anchor\thttp://t/3\ttop3"};
    const Rows inner = {"anchor\thttp://s/1\tin1", "anchor\thttp://s/2\tin2"};
    EXPECT_EQ(sorted(collect(dir.path(), 0)), top);
    // Without a trailing separator as well.
    Rows all = collect(dir.path().substr(0, dir.path().size() - 1), 1);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(sorted(Rows(all.begin(), all.begin() + 2)), inner);
    EXPECT_EQ(sorted(Rows(all.begin() + 2, all.end())), top);
}

TEST_F(ShortcutFolder, WhichFilesCountAndWhatTheyGive) {
    struct File { std::string name, content; };
    const File files[] = {
        {"dir.url", shortcutText("http://h/dir/")},
        {"page.url", shortcutText("http://h/a/page.HTML?q=1")},
        {"upper.URL", shortcutText("ftp://f/x.zip")},
        {"longer.urlx", shortcutText("http://h/urlx")},      // ".url" inside the extension
        {"page.url.txt", shortcutText("http://h/not-read")},  // only the last extension counts
        // A favourite's base URL comes first; the shortcut's URL counts.
        {"base.url", "[DEFAULT]\r\nBASEURL=http://base/b.htm\r\n[InternetShortcut]\r\nURL=http://h/x.cgi\r\n"},
        {"blank.url", shortcutText("http://h/a b.html")},
        {"nourl.url", "[InternetShortcut]\r\nIconIndex=0\r\n"},
        {"long.url", shortcutText("http://h/" + std::string(2000, 'x'))},
        {"emptyurl.url", shortcutText("")},
        {"empty.url", ""},
    };
    for (const File& f : files) dir.write(f.name, f.content);
    dir.mkdir("folder.url");  // a folder is no shortcut
    EXPECT_EQ(sorted(collect(dir.path(), 0)), sorted({
        "anchor\thttp://h/dir/\tdir", "anchor\thttp://h/a/page.HTML?q=1\tpage", "anchor\tftp://f/x.zip\tupper",
        "anchor\thttp://h/urlx\tlonger", "anchor\thttp://h/x.cgi\tbase", "anchor\thttp://h/a\tblank"}));
    for (int i = 0; i < urlList.urlCount; ++i) {
        const UrlEntry& e = urlList.entries[i];
        const std::string want = e.title == "dir" || e.title == "blank" ? "blank"
                               : e.title == "page" ? ".HTML" : e.title == "upper" ? ".zip"
                               : e.title == "base" ? ".cgi" : "blank";
        EXPECT_EQ(e.extension, want) << e.title;
        EXPECT_EQ(e.scheme, e.title == "upper" ? "ftp" : "http") << e.title;
        EXPECT_EQ(e.kind, Anchor);
    }
}

TEST_F(ShortcutFolder, StopsAtFiveHundred) {
    // 2,000 shortcuts in a tree of 20 folders of 100.
    for (int f = 0; f < 20; ++f) {
        const std::string folder = "f" + std::to_string(f);
        dir.mkdir(folder);
        for (int i = 0; i < 100; ++i) {
            const std::string name = folder + "/s" + std::to_string(i) + ".url";
            dir.write(name, shortcutText("http://h/" + std::to_string(f) + "/" + std::to_string(i)));
        }
    }
    dir.write("top.url", shortcutText("http://h/top"));
    EXPECT_EQ(collect(dir.path(), 1).size(), 500u);
    EXPECT_EQ(shortcutScan.shortcutListFull, 1);
    // Once full, later calls add nothing.
    collectShortcuts(nullptr, dir.path());
    EXPECT_EQ(shortcutScan.shortcutCount, 500);
    // A caller that starts at 500 without the flag writes nothing either.
    shortcutScan = ShortcutScan{};
    shortcutScan.shortcutCount = 500;
    collectShortcuts(nullptr, dir.path());
    EXPECT_EQ(shortcutScan.shortcutCount, 500);
    EXPECT_EQ(shortcutScan.shortcutListFull, 1);
    // Without subfolders only the one at the top.
    EXPECT_EQ(collect(dir.path(), 0), (Rows{"anchor\thttp://h/top\ttop"}));
}

TEST_F(ShortcutFolder, FoldersThatCannotBeListedAddNothing) {
    EXPECT_EQ(collect(dir.file("missing"), 1), Rows{});
    EXPECT_EQ(collect(dir.write("file.url", shortcutText("http://h/")), 1), Rows{});
    EXPECT_EQ(collect(dir.path() + std::string(300, 'd'), 1), Rows{});
}

}  // namespace
