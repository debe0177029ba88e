// The start-up action's routes: dispatch of given URLs, the clipboard and
// browser starts, the tools menu, and closing when no list is open.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/routing.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/unopenable_names.h"
#include "common/url_list.h"
#include "links/wide_text.h"
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

// A URL the user asks to open but that is too long to hold is told of in
// one caution box naming the limit, instead of nothing happening.
TEST_F(StartupTest, TooLongUrlsAreToldOf) {
    const std::string long400 = "http://h/" + std::string(391, 'a');
    const std::string shortcut =
        dir.write("long.url", "[InternetShortcut]\r\nURL=" + long400 + "\r\n");
    struct Case {
        const char* what;
        std::string commandLine;
        std::optional<std::string> clipboard;  // with "/#c"
        std::string page;                      // the browser's, with "/#d"
        std::vector<std::string> boxTexts;     // each must occur in the one box
        std::vector<std::string> started;      // parameters
    };
    const std::string limit259 = "開けるURLは259文字までです。";
    const Case cases[] = {
        {"a 400-character URL", long400, std::nullopt, "", {limit259, "\n" + long400.substr(0, 80) + "…"}, {}},
        {"a long URL and a good one", long400 + " http://host/page.html", std::nullopt, "",
         {limit259}, {"http://host/page.html"}},
        {"two long URLs", long400 + " " + long400 + "b", std::nullopt, "", {limit259, "（ほかに1件）"}, {}},
        {"a shortcut file holding a long URL", shortcut, std::nullopt, "", {limit259}, {}},
        {"a long URL on the clipboard", "/#c", long400, "", {limit259}, {}},
        {"the browser shows a long URL", "/#d", std::nullopt, long400, {limit259}, {}},
        {"URLs of 259 characters fit", "http://h/" + std::string(250, 'a'), std::nullopt, "", {},
         {"http://h/" + std::string(250, 'a')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.messages.clear();
        fake.starts.clear();
        ui.menus.clear();
        startOptions = StartOptions{};
        fake.clipboard = c.clipboard;
        if (c.clipboard) startOptions.clipboardStart = 1;
        fake.bridge.reset();
        if (!c.page.empty()) {
            fake.bridge.emplace();
            fake.bridge->pages["Browser"] = c.page;
            settings.browserServices[0] = "Browser";
            settings.browserServiceCount = 1;
            startOptions.browserQueryMode = 1;
        }
        start(c.commandLine);
        if (c.boxTexts.empty()) {
            EXPECT_TRUE(fake.messages.empty());
        } else {
            ASSERT_EQ(fake.messages.size(), 1u);
            EXPECT_EQ(fake.messages[0].caption, "注意");
            EXPECT_EQ(fake.messages[0].flags, platform::mbOk | platform::mbIconWarning);
            for (const std::string& part : c.boxTexts)
                EXPECT_NE(fake.messages[0].text.find(part), std::string::npos) << part;
        }
        std::vector<std::string> started;
        for (const auto& st : fake.starts) started.push_back(st.parameters);
        EXPECT_EQ(started, c.started);
        // Told of, the input has been dealt with: no tools menu either.
        EXPECT_TRUE(ui.menus.empty());
        EXPECT_EQ(overlongUrls.noteCount, 0);
    }
}

TEST_F(StartupTest, TooLongUrlsInListModeInputs) {
    const std::string long400 = "http://h/" + std::string(391, 'a');
    runState.listWindowActive = 1;
    // Handed over, dropped: told of.
    receiveHandOff(nullptr, 0, long400 + " http://b/");
    routeDroppedText(nullptr, long400);
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[1].caption, "注意");
    // Watching the clipboard takes what the user copies anywhere: no box.
    fake.clipboard = long400;
    routeClipboardChange(nullptr);
    EXPECT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(overlongUrls.noteCount, 0);
    runState.listWindowActive = 0;
}

// The clipboard is read in its wide form, whatever CF_TEXT says; a file
// the code page cannot name is told of where the user gave it on purpose,
// and nothing else is opened in its place.
TEST_F(StartupTest, WideInputs) {
    fake.wideNames = {u"C:\\x\\Café.txt"};
    const std::string named = "C:\\x\\Caf?.txt";
    struct Case {
        const char* what;
        std::u16string commandLine;
        std::optional<std::u16string> clipboard;  // with "/#c"
        bool box;
        std::vector<std::string> started;
    };
    const Case cases[] = {
        {"a URL", u"http://h/é.html", std::nullopt, false, {"http://h/%C3%A9.html"}},
        {"a file it cannot open", u"C:\\x\\Café.txt", std::nullopt, true, {}},
        {"that file and a URL", u"C:\\x\\Café.txt http://h/a.html", std::nullopt, true,
         {"http://h/a.html"}},
        {"the clipboard's URL", u"/#c", u"http://h/é.html", false, {"http://h/%C3%A9.html"}},
        {"a file on the clipboard", u"/#c", u"C:\\x\\Café.txt", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.messages.clear();
        fake.starts.clear();
        ui.menus.clear();
        startOptions = StartOptions{};
        fake.clipboard = "http://h/?.html";  // the system's copy, with what it lost
        fake.wideClipboard = c.clipboard;
        if (c.clipboard) startOptions.clipboardStart = 1;
        start(wideToCp932(c.commandLine, WideText::input));
        ASSERT_EQ(fake.messages.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(fake.messages[0].caption, "注意");
            EXPECT_NE(fake.messages[0].text.find("\n" + named), std::string::npos);
        }
        std::vector<std::string> started;
        for (const auto& st : fake.starts) started.push_back(st.parameters);
        EXPECT_EQ(started, c.started);
        EXPECT_TRUE(ui.menus.empty());
        EXPECT_EQ(unopenableNames.count, 0);
    }

    // In list mode: dropped text and a dropped file are told of; watching
    // the clipboard passes over what it cannot open.
    runState.listWindowActive = 1;
    fake.messages.clear();
    routeDroppedText(nullptr, wideToCp932(u"C:\\x\\Café.txt", WideText::input));
    routeDroppedFile(nullptr, wideToCp932(u"C:\\x\\Café.txt", WideText::path));
    EXPECT_EQ(fake.messages.size(), 2u);
    fake.wideClipboard = u"C:\\x\\Café.txt";
    routeClipboardChange(nullptr);
    EXPECT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(unopenableNames.count, 0);
    runState.listWindowActive = 0;
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

// Only codes a copy of the program sends are taken; any other comes from
// some other program, and its digits would set Ctrl and the link mode to
// values nothing expects: a code ending in 5 used to download the
// payload's first URL.
TEST_F(StartupTest, HandOffsWithACodeNoCopySendsAreIgnored) {
    runState.listWindowActive = 1;
    const unsigned codes[] = {3, 9, 20, 99, 113, 200, 1000, 4294967295u};
    for (unsigned code : codes) {
        urlList.urlCount = 0;
        receiveHandOff(nullptr, code, "http://a/x.html http://b/");
        EXPECT_EQ(urlList.urlCount, 0) << code;
        EXPECT_EQ(ui.fills, 0) << code;
        EXPECT_TRUE(fake.downloads.empty()) << code;
    }
    struct Valid { unsigned code; int ctrl, urls; };
    for (const Valid& v : {Valid{0, 0, 1}, Valid{100, 1, 1}, Valid{110, 1, 2}}) {
        receiveHandOff(nullptr, v.code, "http://a/x.html\nhttp://b/");
        EXPECT_EQ(runState.ctrlFlag, v.ctrl) << v.code;
        EXPECT_EQ(urlList.urlCount, v.urls) << v.code;
    }
    runState.listWindowActive = 0;
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
