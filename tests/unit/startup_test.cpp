// The start-up action's routes: dispatch of given URLs, the clipboard and
// browser starts, the tools menu, and closing when no list is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/routing.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class StartupUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int toolsMenu, int) override {
        menus.push_back(toolsMenu);
    }
    bool createListWindow(platform::WindowHandle) override {
        ++listWindows;
        return listAvailable;
    }
    void fillListView(int) override { ++fills; }
    void closeWindow(platform::WindowHandle) override { ++closed; }
    std::vector<int> menus;
    int listWindows = 0, fills = 0, closed = 0;
    bool listAvailable = false;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        settings = Settings{};
        startOptions = StartOptions{};
        linkSource = LinkSource{};
        runState.listWindowActive = 0;
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        dir.write("Tavrin.ini", "[.html]\n" + viewer + "\n%end\n[blank]\n" + viewer + "\n>%L\n");
    }
    void TearDown() override { installUi(previousUi); }
    void start(const std::string& commandLine, int shift = 0, int ctrl = 0) {
        runState.currentTarget = commandLine;
        startupAction(nullptr, shift, ctrl);
    }

    FakePlatform fake;
    StartupUi ui;
    UiPort* previousUi = nullptr;
    TempDir dir;
    std::string viewer;
};

TEST_F(StartupTest, GivenUrlIsDispatchedThenTheProgramEnds) {
    start("http://host/dir/page.html");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, viewer);
    EXPECT_EQ(fake.starts[0].parameters, "http://host/dir/page.html");
    EXPECT_EQ(ui.closed, 1);
}

TEST_F(StartupTest, ShortcutFileIsDispatchedLikeItsUrl) {
    std::string shortcut = dir.write("My Page.url", "[InternetShortcut]\r\nURL=http://h/x.html\r\n");
    start(shortcut);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "http://h/x.html");
}

TEST_F(StartupTest, NothingGivenShowsTheToolsMenu) {
    start("");
    EXPECT_EQ(ui.menus, (std::vector<int>{1}));
    EXPECT_EQ(ui.closed, 1);
}

TEST_F(StartupTest, ClipboardStartDispatchesTheClipboardUrl) {
    startOptions.clipboardStart = 1;
    fake.clipboard = "see http://c/d/";
    start("/#c");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "http://c/d/");
    // Without usable text the tools menu opens instead.
    fake.clipboard.reset();
    start("/#c");
    EXPECT_EQ(ui.menus, (std::vector<int>{1}));
}

TEST_F(StartupTest, BrowserQueryDispatchesTheShownPage) {
    fake.bridge.emplace();
    fake.bridge->pages["Second"] = "http://shown/page.html";
    settings.browserServices[0] = "First";
    settings.browserServices[1] = "Second";
    settings.browserServiceCount = 2;
    startOptions.browserQueryMode = 1;
    start("/#d");
    EXPECT_EQ(fake.bridge->asked, (std::vector<std::string>{"First", "Second"}));
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "http://shown/page.html");
    // A page without a URL is no answer: nothing is dispatched.
    fake.starts.clear();
    fake.bridge->pages["Second"] = "";
    start("/#d");
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(ui.menus, (std::vector<int>{1}));
    // A missing library leaves the tools menu too.
    ui.menus.clear();
    fake.bridge.reset();
    start("/#d");
    EXPECT_EQ(ui.menus, (std::vector<int>{1}));
}

TEST_F(StartupTest, LocalSourcesNeedTheListWindow) {
    std::string page = dir.write("page.html", "<a href=\"http://x/\">x</a>");
    start(page);
    EXPECT_EQ(ui.listWindows, 1);
    EXPECT_EQ(runState.listWindowActive, 0);  // no list window to open: the program ends
    EXPECT_EQ(ui.closed, 1);
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(StartupTest, HandOffsAreIgnoredWithoutTheListWindow) {
    urlList.urlCount = 0;
    receiveHandOff(nullptr, 0, "http://a/ http://b/");
    EXPECT_EQ(urlList.urlCount, 0);
    EXPECT_EQ(ui.fills, 0);
}

TEST_F(StartupTest, HandOffInListModeListsTheUrls) {
    runState.listWindowActive = 1;
    receiveHandOff(nullptr, 110, "http://a/\nhttp://b/");
    EXPECT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(runState.ctrlFlag, 1);
    EXPECT_EQ(linkSource.listTitle, "URL転送データ");
    EXPECT_EQ(ui.fills, 1);
    runState.listWindowActive = 0;
}

}  // namespace
