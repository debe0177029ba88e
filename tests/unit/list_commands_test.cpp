// The list window's commands and the opening of rows, over rows held in a
// table: which rows a run opens and with what, the after-run options, the
// kind toggles, paste, program choice, and which commands put the old
// list back.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/list_commands.h"
#include "app/list_window_port.h"
#include "app/open_rows.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "links/list_rows_ops.h"
#include "links/list_state.h"
#include "platform/ui_port.h"
#include "settings/filter_groups.h"
#include "settings/settings.h"
#include "tests/support/fake_list_rows.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// The window as the commands see it; rebuilding the rows runs the real
// row filling on the table.
class FakeListWindow final : public ListWindowPort, public UiPort {
public:
    FakeListRows table;
    std::vector<std::string> calls;
    std::string chosenFile, chosenFolder, caption;
    int rowMenuChoice = 0;
    bool watching = false;

    ListRows& rows() override { return table; }
    void refreshMenuChecks() override { ++checkRefreshes; }
    std::string chooseLinkFile(int mode) override {
        calls.push_back("file " + std::to_string(mode));
        return chosenFile;
    }
    std::string chooseShortcutFolder(int sub) override {
        calls.push_back("folder " + std::to_string(sub));
        return chosenFolder;
    }
    int saveList(int withTitles) override {
        calls.push_back("save " + std::to_string(withTitles));
        return 1;
    }
    bool clipboardWatch() override { return watching; }
    void setClipboardWatch(bool on) override { watching = on; }
    void setTopmost(bool on) override { calls.push_back(on ? "topmost" : "not topmost"); }
    void showProgramIcon() override { calls.push_back("icon " + std::to_string(listPrograms.selectedListProgram)); }
    void setCaption(const std::string& text) override { caption = text; }
    int trackRowMenu(int atCentre) override {
        calls.push_back("row menu " + std::to_string(atCentre));
        return rowMenuChoice;
    }

    void showAssociationMenu(platform::WindowHandle, int, int) override { calls.push_back("association menu"); }
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int captionOnly) override {
        if (captionOnly == 0) fillRows(table);
        ++fills;
    }
    void closeWindow(platform::WindowHandle) override { calls.push_back("close"); }

    int checkRefreshes = 0, fills = 0;
};

class ListCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&window);
        previousPort = installListWindowPort(&window);
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
        settings = Settings{};
        settings.tempFolder = dir.path() + "temp";
        listWindow = ListWindowState{};
        linkSource = LinkSource{};
        listPrograms = ListPrograms{};
        filterGroups.selectedFilterGroup = 0;
        resetFilterGroups();
        programPaths.programName = "Tavrin";
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        dir.write("Tavrin.ini", "[.html]\n" + viewer + "\n>-v %L\n%end\n");
    }
    void TearDown() override {
        installUi(previousUi);
        installListWindowPort(previousPort);
        installBrowserPort(previousBrowser);
    }

    // The list shown: urlList and its rows, with the rows marked "+" checked.
    void show(const std::vector<std::string>& urls) {
        window.table = FakeListRows::of(urls);
        urlList.urlCount = 0;
        for (const auto& row : window.table.table) {
            UrlEntry& e = urlList.entries[urlList.urlCount++];
            e = UrlEntry{};
            e.url = row.url;
            e.scheme = "http";
            e.extension = ".html";
        }
    }
    void listProgram(const std::string& parameters, bool hasParameters = true) {
        ListProgram& row = listPrograms.rows[listPrograms.listProgramCount++];
        row.programFile = dir.write("prog" + std::to_string(listPrograms.listProgramCount) + ".exe", "MZ");
        row.caption = "&Prog";
        row.extraParameters = parameters;
        row.hasExtraParameters = hasParameters ? 1 : 0;
        listPrograms.selectedListProgram = 0;
    }
    std::vector<std::string> started() const {
        std::vector<std::string> out;
        for (const auto& s : fake.starts) out.push_back(s.parameters);
        return out;
    }
    std::vector<std::string> listUrls() const {
        std::vector<std::string> out;
        for (int i = 0; i < urlList.urlCount; ++i) out.push_back(urlList.entries[i].url);
        return out;
    }
    void run(int id) { onListCommand(nullptr, id); }

    FakePlatform fake;
    FakeListWindow window;
    UiPort* previousUi = nullptr;
    ListWindowPort* previousPort = nullptr;
    BrowserPort* previousBrowser = nullptr;
    TempDir dir;
    std::string viewer;
};

// ---- Opening rows ----------------------------------------------------------

TEST_F(ListCommandsTest, RunOpensCheckedRowsWithTheListProgram) {
    struct Case {
        std::string parameters;
        bool hasParameters;
        std::vector<std::string> starts;
    };
    const std::vector<Case> cases = {
        // Without a parameter line the program gets the URL ("%L", quoted
        // when it holds a blank).
        {"", false, {"http://h/a.html", "\"http://h/c d.html\""}},
        {"-open %L", true, {"-open http://h/a.html", "-open \"http://h/c d.html\""}},
        // "%M" takes every URL in one start.
        {"-all %M", true, {"-all http://h/a.html \"http://h/c d.html\""}},
    };
    for (const Case& c : cases) {
        listPrograms = ListPrograms{};
        listProgram(c.parameters, c.hasParameters);
        fake.starts.clear();
        show({"+http://h/a.html", "http://h/b.html", "+http://h/c d.html"});
        run(999);
        EXPECT_EQ(started(), c.starts) << c.parameters;
        // The list is what it was before the run.
        EXPECT_EQ(listUrls(), (std::vector<std::string>{"http://h/a.html", "http://h/b.html",
                                                         "http://h/c d.html"}));
        EXPECT_EQ(window.table.checks(), "x.x");
    }
}

TEST_F(ListCommandsTest, PausesAfterEachStartButNotAfterAnAllUrlStart) {
    settings.firstPause = 100;
    settings.laterPause = 300;
    listProgram("%L");
    show({"+http://h/1", "+http://h/2", "+http://h/3"});
    run(999);
    EXPECT_EQ(fake.sleeps, (std::vector<int>{100, 300, 300}));
    fake.sleeps.clear();
    listPrograms.rows[0].extraParameters = "%M";
    run(999);
    EXPECT_TRUE(fake.sleeps.empty());
    EXPECT_EQ(fake.starts.back().parameters, "http://h/1 http://h/2 http://h/3");
}

TEST_F(ListCommandsTest, AfterRunOptions) {
    listProgram("%L");
    struct Case {
        int uncheck, next;
        std::string before, after;
    };
    const std::vector<Case> cases = {
        {0, 0, "x.x..", "x.x.."},
        {1, 0, "x.x..", "....."},
        {0, 1, "x.x..", "...x."},  // 961 alone unchecks all too
        {1, 1, "x.x..", "...x."},
        {0, 1, "x...x", "....."},  // the last row run was the last row
        {1, 1, ".....", "....."},  // nothing checked: nothing runs, nothing changes
    };
    for (const Case& c : cases) {
        listWindow.uncheckAfterRun = c.uncheck;
        listWindow.checkNextAfterRun = c.next;
        std::vector<std::string> urls;
        for (std::size_t i = 0; i < c.before.size(); ++i)
            urls.push_back((c.before[i] == 'x' ? "+http://h/" : "http://h/") + std::to_string(i));
        show(urls);
        run(999);
        EXPECT_EQ(window.table.checks(), c.after) << c.uncheck << c.next << " " << c.before;
    }
}

TEST_F(ListCommandsTest, HandingTheUrlToTheBrowserEndsTheRunAndKeepsTheChecks) {
    listProgram("%S=B");
    listWindow.uncheckAfterRun = 1;
    show({"+http://h/1", "+http://h/2"});
    run(999);
    // Without a browser the first URL goes to the program itself; the
    // second is not opened.
    EXPECT_EQ(started(), (std::vector<std::string>{"http://h/1"}));
    EXPECT_EQ(window.table.checks(), "xx");
    EXPECT_EQ(urlList.urlCount, 2);
}

TEST_F(ListCommandsTest, EnterOpensTheSelectedRowOnly) {
    listProgram("", false);
    show({"+http://h/1", "http://h/2"});
    window.table.selected = 1;
    openSelectedRow(nullptr);
    EXPECT_EQ(started(), (std::vector<std::string>{"http://h/2"}));
    window.table.selected = -1;
    openSelectedRow(nullptr);
    EXPECT_EQ(fake.starts.size(), 1u);
}

TEST_F(ListCommandsTest, AssociationRunDispatchesAllCheckedRowsAndRestores) {
    listPrograms.selectedListProgram = 20;
    show({"+http://h/a.html", "+http://h/b.html", "http://h/c.html"});
    run(999);
    EXPECT_EQ(started(), (std::vector<std::string>{"-v http://h/a.html"}));
    EXPECT_EQ(urlList.urlCount, 3);
}

// ---- Program choice and the row menu ----------------------------------------

TEST_F(ListCommandsTest, ChoosingAProgramSelectsItAndRunsTheCheckedRows) {
    listProgram("-x %L");
    listPrograms.selectedListProgram = 20;
    linkSource.listTitle = "t\tab";
    show({"http://h/1", "+http://h/2"});
    run(910);
    EXPECT_EQ(listPrograms.selectedListProgram, 0);
    EXPECT_EQ(window.caption, "[ Tavrin ] ： Prog / t\tab");
    EXPECT_EQ(started(), (std::vector<std::string>{"-x http://h/2"}));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"icon 0"}));
    run(930);
    EXPECT_EQ(listPrograms.selectedListProgram, 20);
    EXPECT_EQ(window.caption, "[ Tavrin ] ： 関連付け / t\tab");
    // A program the menu does not offer changes nothing.
    run(915);
    EXPECT_EQ(listPrograms.selectedListProgram, 20);
}

TEST_F(ListCommandsTest, RowMenuOpensTheSelectedRowWithoutChangingTheProgram) {
    listProgram("-x %L");
    listProgram("-y %L");
    show({"+http://h/1", "http://h/2"});
    window.table.selected = 1;
    window.rowMenuChoice = 911;
    showRowMenu(nullptr, 1);
    EXPECT_EQ(started(), (std::vector<std::string>{"-y http://h/2"}));
    EXPECT_EQ(listPrograms.selectedListProgram, 0);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"row menu 1"}));
    window.rowMenuChoice = 0;
    showRowMenu(nullptr, 0);
    EXPECT_EQ(fake.starts.size(), 1u);
}

TEST_F(ListCommandsTest, RowMenuExtractionOfARefusedDownloadKeepsTheList) {
    show({"ftp://h/a.html", "http://h/b.html"});
    window.table.selected = 0;
    window.rowMenuChoice = 925;
    showRowMenu(nullptr, 0);
    EXPECT_EQ(linkSource.listSource, "ftp://h/a.html");
    EXPECT_EQ(listUrls(), (std::vector<std::string>{"ftp://h/a.html", "http://h/b.html"}));
    EXPECT_EQ(window.table.count(), 2);
}

// ---- Filters and kinds --------------------------------------------------------

TEST_F(ListCommandsTest, KindToggles) {
    struct Case {
        int before, id;
        bool shift;
        int after;
    };
    const std::vector<Case> cases = {
        {0, 968, false, 2}, {2, 968, false, 0}, {1, 968, false, 1},
        {0, 969, false, 1}, {1, 969, false, 0}, {2, 969, false, 2},
        {0, 968, true, 1},  {2, 968, true, 1},  {0, 969, true, 2}, {1, 969, true, 2},
    };
    for (const Case& c : cases) {
        listWindow.kindFilter = c.before;
        fake.keysDown = c.shift ? std::vector<int>{platform::vkShift} : std::vector<int>{};
        const int fills = window.fills;
        run(c.id);
        EXPECT_EQ(listWindow.kindFilter, c.after) << c.before << " " << c.id << " " << c.shift;
        EXPECT_EQ(window.fills - fills, c.before == c.after && !c.shift ? 0 : 1);
    }
}

TEST_F(ListCommandsTest, FilterGroupsRebuildTheRows) {
    addFilterGroup(".gif");
    show({"http://h/a.html"});
    urlList.entries[0].extension = ".gif";
    run(941);
    EXPECT_EQ(filterGroups.selectedFilterGroup, 1);
    EXPECT_EQ(window.table.count(), 1);
    urlList.entries[0].extension = ".html";
    run(940);
    run(941);
    EXPECT_EQ(window.table.count(), 0);
    run(945);  // no such group
    EXPECT_EQ(filterGroups.selectedFilterGroup, 1);
}

TEST_F(ListCommandsTest, CheckCommandsAndDuplicates) {
    show({"+http://h/a", "http://H/a", "http://h/b"});
    run(952);
    EXPECT_EQ(window.table.checks(), ".xx");
    run(950);
    EXPECT_EQ(window.table.checks(), "xxx");
    run(951);
    EXPECT_EQ(window.table.checks(), "...");
    run(957);
    EXPECT_EQ(window.table.checks(), "xxx");
    run(965);
    EXPECT_EQ(window.table.urls(), (std::vector<std::string>{"http://h/a", "http://h/b"}));
    // Only the rows changed: a rebuild shows the duplicate again.
    EXPECT_EQ(urlList.urlCount, 3);
}

// ---- Toggles, files, exit -------------------------------------------------------

TEST_F(ListCommandsTest, TogglesFlipTheirStateAndTheirMarks) {
    run(904);
    EXPECT_TRUE(window.watching);
    run(904);
    EXPECT_FALSE(window.watching);
    run(907);
    EXPECT_EQ(linkSource.kanjiConversion, 0);
    run(908);
    run(908);
    run(960);
    run(961);
    EXPECT_EQ(listWindow.uncheckAfterRun, 1);
    EXPECT_EQ(listWindow.checkNextAfterRun, 1);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"not topmost", "topmost"}));
    EXPECT_EQ(window.checkRefreshes, 7);
}

TEST_F(ListCommandsTest, FileCommands) {
    show({"+http://h/a"});
    run(905);
    run(906);
    run(900);  // cancelled: nothing read
    run(901);
    window.chosenFile = dir.file("missing.txt");
    run(900);  // unreadable: the old list stays
    run(909);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"save 0", "save 1", "file 0", "file 2",
                                                      "file 0", "close"}));
    EXPECT_EQ(linkSource.listTitle, "missing.txt");
    EXPECT_EQ(listUrls(), (std::vector<std::string>{"http://h/a"}));
}

TEST_F(ListCommandsTest, ShortcutFolderWithNoneFoundKeepsTheList) {
    show({"http://h/a"});
    fake.keysDown = {platform::vkControl};
    run(903);  // cancelled
    window.chosenFolder = dir.mkdir("empty");
    run(903);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"folder 1", "folder 1"}));
    EXPECT_EQ(listUrls(), (std::vector<std::string>{"http://h/a"}));
}

TEST_F(ListCommandsTest, BrowserPageWithoutABridgeKeepsTheList) {
    show({"http://h/a"});
    run(902);
    EXPECT_EQ(listUrls(), (std::vector<std::string>{"http://h/a"}));
}

// ---- Paste -----------------------------------------------------------------------

TEST_F(ListCommandsTest, PasteRoutesTheClipboard) {
    dir.mkdir("temp");
    fake.downloadBody = "<title>Got</title><a href=\"x.html\">X</a><img src=\"/i.png\">";
    using Outcome = platform::DownloadOutcome;
    struct Case {
        std::optional<std::string> clipboard;
        Outcome download;
        std::vector<std::string> urls;
        std::string title;
    };
    const std::vector<Case> cases = {
        // Two URLs are listed as they are.
        {"http://a/1.html\r\nhttp://b/2.html", Outcome::ok, {"http://a/1.html", "http://b/2.html"},
         "URL転送データ"},
        // One web URL: the links of its page, with the URL as base.
        {"http://a/dir/p.html", Outcome::ok, {"http://a/dir/x.html", "http://a/i.png"}, "Got"},
        // A failed download keeps the old list.
        {"http://a/dir/p.html", Outcome::httpError, {"http://old/"}, "old"},
        // One ftp URL is listed as it is.
        {"ftp://a/x.zip", Outcome::ok, {"ftp://a/x.zip"}, "URL転送データ"},
        // Nothing usable keeps the old list.
        {"no url here", Outcome::ok, {"http://old/"}, "old"},
        {std::nullopt, Outcome::ok, {"http://old/"}, "old"},
    };
    for (const Case& c : cases) {
        show({"http://old/"});
        linkSource.listTitle = "old";
        fake.clipboard = c.clipboard;
        fake.downloadOutcome = c.download;
        run(998);
        EXPECT_EQ(listUrls(), c.urls) << c.clipboard.value_or("(none)");
        EXPECT_EQ(window.table.urls(), c.urls);
        EXPECT_EQ(linkSource.listTitle, c.title);
    }
}

// A pasted folder names the list after itself, as a dropped one does: the
// scan writes over the entry that held its path.
TEST_F(ListCommandsTest, PastedFolderNamesTheList) {
    const std::string folder = dir.mkdir("Favourites");
    dir.write("Favourites/Zeta.url", "[InternetShortcut]\r\nURL=http://z/\r\n");
    show({"http://old/"});
    fake.clipboard = folder;
    run(998);
    EXPECT_EQ(listUrls(), (std::vector<std::string>{"http://z/"}));
    EXPECT_EQ(linkSource.listTitle, "Favourites");
}

// A failed paste puts back the list as it was, titles and extensions
// included.
TEST_F(ListCommandsTest, FailedPasteKeepsWholeEntries) {
    dir.mkdir("temp");
    show({"http://h/a.html", "http://h/b.html"});
    urlList.entries[0].title = "Alpha";
    urlList.entries[1].kind = Image;
    fake.clipboard = "http://other/x.gif";
    fake.downloadOutcome = platform::DownloadOutcome::httpError;
    run(998);
    ASSERT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(urlList.entries[0].title, "Alpha");
    EXPECT_EQ(urlList.entries[0].extension, ".html");
    EXPECT_EQ(urlList.entries[1].kind, Image);
    EXPECT_EQ(window.table.urls(), (std::vector<std::string>{"http://h/a.html", "http://h/b.html"}));
}

TEST_F(ListCommandsTest, RowMenuExtractsTheLinksOfTheSelectedRowsPage) {
    dir.mkdir("temp");
    fake.downloadBody = "<a href=\"y.html\">Y</a>";
    show({"http://h/a/b.html", "http://h/c.html"});
    window.table.selected = 0;
    window.rowMenuChoice = 925;
    showRowMenu(nullptr, 0);
    ASSERT_EQ(fake.downloads.size(), 1u);
    EXPECT_EQ(fake.downloads[0].url, "http://h/a/b.html");
    EXPECT_EQ(window.table.urls(), (std::vector<std::string>{"http://h/a/y.html"}));
    EXPECT_EQ(linkSource.listSource, "http://h/a/b.html");
}

}  // namespace
