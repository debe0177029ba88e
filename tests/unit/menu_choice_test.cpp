// Carrying out menu choices after a real dispatch: program rows for one or
// every target, sub-commands with their pauses and hand-overs, the title
// item's forms (switching settings files and back), and the tools.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/menu_choice.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "menu/menu_layout.h"
#include "menu/menu_state.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// Stands in for the window layer: each menu shown takes the next scripted
// choice, as a person at the menu would.
class ChoosingUi final : public UiPort {
public:
    struct Choice {
        int id = 0, ctrl = 0, shift = 0;
    };
    void showAssociationMenu(platform::WindowHandle window, int toolsMenu, int samePosition) override {
        menus.push_back({toolsMenu, samePosition, dispatchState.useAlternateFile});
        if (choices.empty()) return;
        const Choice c = choices.front();
        choices.erase(choices.begin());
        menuState.choiceShiftFlag = c.shift;
        carryOutMenuChoice(window, c.id, c.ctrl);
    }
    bool createListWindow(platform::WindowHandle) override {
        ++listWindows;
        return listAvailable;
    }
    void fillListView(int) override { ++fills; }
    void closeWindow(platform::WindowHandle) override { ++closed; }

    struct Shown {
        int toolsMenu, samePosition, alternateFile;
        bool operator==(const Shown& o) const {
            return toolsMenu == o.toolsMenu && samePosition == o.samePosition &&
                   alternateFile == o.alternateFile;
        }
    };
    std::vector<Choice> choices;
    std::vector<Shown> menus;
    int listWindows = 0, fills = 0, closed = 0;
    bool listAvailable = false;
};

class MenuChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
        settings = Settings{};
        linkSource = LinkSource{};
        runState.listWindowActive = 0;
        menuState.choiceShiftFlag = 0;
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        programPaths.helpFilePath = dir.file("Tavrin.txt");
        settings.alternatePath = programPaths.settingsPath;
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
    }
    void TearDown() override {
        installUi(previousUi);
        installBrowserPort(previousBrowser);
        runState.listWindowActive = 0;
        menuState.choiceShiftFlag = 0;
    }

    void targets(const std::vector<std::string>& urls) {
        for (std::size_t i = 0; i < urls.size(); ++i) urlList.entries[i].url = urls[i];
        urlList.urlCount = static_cast<int>(urls.size());
    }
    // Dispatches the targets over `ini`; the menu takes `choices`.
    void dispatch(const std::string& ini, const std::vector<std::string>& urls,
                  std::vector<ChoosingUi::Choice> choices) {
        dir.write("Tavrin.ini", ini);
        ui.choices = std::move(choices);
        targets(urls);
        openWithSettings(nullptr, 0, 0);
    }
    using Starts = std::vector<std::pair<std::string, std::string>>;  // file, parameters
    Starts starts() const {
        Starts out;
        for (const auto& s : fake.starts) out.emplace_back(s.file, s.parameters);
        return out;
    }

    FakePlatform fake;
    ChoosingUi ui;
    UiPort* previousUi = nullptr;
    BrowserPort* previousBrowser = nullptr;
    TempDir dir;
    std::string viewer, editor;
};

const std::vector<std::string> threeUrls = {"http://a/1.html", "http://a/2 x.html", "http://a/3.html"};

TEST_F(MenuChoiceTest, RowsForOneOrEveryTarget) {
    struct Case {
        const char* name;
        std::string block;  // followed by a second program, so that the menu shows
        ChoosingUi::Choice choice;
        Starts want;
        std::vector<int> sleeps;
    };
    const std::string v = "[.html]\n" + viewer + "\n";
    const Case cases[] = {
        {"program, first target", v, {1000, 0, 0}, {{viewer, "http://a/1.html"}}, {100}},
        {"program with Shift, every target", v, {1000, 0, 1},
         {{viewer, "http://a/1.html"}, {viewer, "\"http://a/2 x.html\""}, {viewer, "http://a/3.html"}},
         {100, 200, 200}},
        {"single sub-command", v + ">-a %K\n", {1001, 0, 0}, {{viewer, "-a 1.html"}}, {100}},
        {"single sub-command with Shift", v + ">-a %K\n", {1001, 0, 1},
         {{viewer, "-a 1.html"}, {viewer, "-a 2 x.html"}, {viewer, "-a 3.html"}}, {100, 200, 200}},
        {"a run-each line runs for every target without Shift", v + "]-e %K\n>-r %K\n", {1001, 0, 0},
         {{viewer, "-e 1.html"}, {viewer, "-e 2 x.html"}, {viewer, "-e 3.html"}}, {100, 200, 200}},
        {"a run line of a submenu", v + "]-e %K\n>-r %K\n", {1002, 0, 0}, {{viewer, "-r 1.html"}}, {100}},
        {"%M carries every target in one start", v + ">-m %M\n", {1001, 0, 1},
         {{viewer, "-m http://a/1.html \"http://a/2 x.html\" http://a/3.html"}}, {100}},
        {"a mark row chooses nothing", v + "+\n", {1001, 0, 0}, {}, {}},
        {"a dismissed menu does nothing", v, {0, 0, 1}, {}, {}},
        {"a row past the table does nothing", v, {1150, 0, 0}, {}, {}},
    };
    settings.firstPause = 100;
    settings.laterPause = 200;
    for (const Case& c : cases) {
        fake.starts.clear();
        fake.sleeps.clear();
        dispatch(c.block + editor + "\n%end\n", threeUrls, {c.choice});
        EXPECT_EQ(starts(), c.want) << c.name;
        EXPECT_EQ(fake.sleeps, c.sleeps) << c.name;
        EXPECT_EQ(urlList.urlCount, 0) << c.name;
    }
}

TEST_F(MenuChoiceTest, BrowserHandOverEndsTheLoop) {
    fake.bridge.emplace();
    fake.bridge->accepting = {"B"};
    dispatch("[.html]\n" + viewer + "\n>%S=B\n" + editor + "\n", threeUrls, {{1001, 0, 1}});
    EXPECT_TRUE(fake.starts.empty());
    ASSERT_EQ(fake.bridge->sent.size(), 1u);
    EXPECT_EQ(fake.bridge->sent[0].second, "http://a/1.html");
}

TEST_F(MenuChoiceTest, TitleItem) {
    const std::string ini = "[.html]\n" + viewer + "\n" + editor + "\n%end\n";
    // No key: the system opens the first target.
    dispatch(ini, threeUrls, {{menuIdTitle, 0, 0}});
    EXPECT_EQ(starts(), (Starts{{"http://a/1.html", ""}}));
    // Shift: the page's links, which need the list window; none opens here.
    fake.starts.clear();
    dispatch(ini, threeUrls, {{menuIdTitle, 0, 1}});
    EXPECT_EQ(ui.listWindows, 1);
    EXPECT_TRUE(fake.starts.empty());
    // Shift while the list is open: the system opens it after all.
    runState.listWindowActive = 1;
    dispatch(ini, threeUrls, {{menuIdTitle, 0, 1}});
    EXPECT_EQ(starts(), (Starts{{"http://a/1.html", ""}}));
    runState.listWindowActive = 0;
    // Ctrl and Shift: the targets become the list.
    ui.listAvailable = true;
    fake.starts.clear();
    dispatch(ini, threeUrls, {{menuIdTitle, 1, 1}});
    EXPECT_EQ(runState.listWindowActive, 1);
    EXPECT_EQ(linkSource.listTitle, "URL転送データ");
    EXPECT_EQ(ui.fills, 1);
    EXPECT_TRUE(fake.starts.empty());
}

// Shift on the title item opens the list window for the page's links; a
// page that cannot be had closes it again, so no empty window is left.
TEST_F(MenuChoiceTest, TitleItemClosesTheListWindowWhenThePageCannotBeHad) {
    const std::string ini = "[.html]\n" + viewer + "\n" + editor + "\n%end\n";
    settings.tempFolder = dir.mkdir("temp");
    ui.listAvailable = true;
    struct Case {
        const char* name;
        std::string url;
        platform::DownloadOutcome outcome;
        std::string body;
        bool stays;
    };
    const Case cases[] = {
        {"refused scheme", "ftp://h/readme.html", platform::DownloadOutcome::ok, "", false},
        {"failed download", "http://h/missing.html", platform::DownloadOutcome::httpError, "", false},
        {"cancelled download", "http://h/big.html", platform::DownloadOutcome::cancelled, "", false},
        {"page with links", "http://h/page.html", platform::DownloadOutcome::ok,
         "<a href=\"x.html\">x</a>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runState.listWindowActive = 0;
        ui.closed = 0;
        fake.downloadOutcome = c.outcome;
        fake.downloadBody = c.body;
        dispatch(ini, {c.url}, {{menuIdTitle, 0, 1}});
        EXPECT_EQ(runState.listWindowActive, c.stays ? 1 : 0);
        EXPECT_EQ(ui.closed, c.stays ? 0 : 1);
        EXPECT_TRUE(fake.starts.empty());
    }
}

TEST_F(MenuChoiceTest, CtrlOnTheTitleSwitchesSettingsFilesAndBack) {
    settings.alternatePath = dir.write("other.ini", "[.html]\n" + editor + "\n" + viewer + "\n%end\n");
    // Main file: viewer first; other file: editor first.
    dispatch("[.html]\n" + viewer + "\n" + editor + "\n%end\n", {"http://a/1.html"},
             {{menuIdTitle, 1, 0}, {menuIdTitle, 1, 0}, {1000, 0, 0}});
    EXPECT_EQ(ui.menus, (std::vector<ChoosingUi::Shown>{{0, 0, 0}, {0, 1, 1}, {0, 1, 0}}));
    EXPECT_EQ(starts(), (Starts{{viewer, "http://a/1.html"}}));
    // From the other file, the first row is the editor.
    fake.starts.clear();
    ui.menus.clear();
    dispatch("[.html]\n" + viewer + "\n" + editor + "\n%end\n", {"http://a/1.html"},
             {{menuIdTitle, 1, 0}, {1000, 0, 0}});
    EXPECT_EQ(starts(), (Starts{{editor, "http://a/1.html"}}));
}

TEST_F(MenuChoiceTest, Tools) {
    const std::string ini = programPaths.settingsPath;
    settings.alternatePath = dir.write("other set.ini", "");
    struct Case {
        const char* name;
        std::string editorProgram;
        int id;
        Starts want;
    };
    const Case cases[] = {
        {"main settings in the editor", editor, menuIdMainSettings, {{editor, ini}}},
        {"alternate settings, quoted", editor, menuIdAlternateSettings,
         {{editor, "\"" + settings.alternatePath + "\""}}},
        {"help text", editor, menuIdHelp, {{editor, programPaths.helpFilePath}}},
        {"no editor: opened by the system", "", menuIdHelp, {{programPaths.helpFilePath, ""}}},
    };
    for (const Case& c : cases) {
        fake.starts.clear();
        settings.editorProgram = c.editorProgram;
        carryOutMenuChoice(nullptr, c.id, 0);
        EXPECT_EQ(starts(), c.want) << c.name;
    }
    carryOutMenuChoice(nullptr, menuIdVersion, 0);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "バージョン情報");
    EXPECT_EQ(fake.messages[0].text,
              "「ネルカモ URL関連付け専用」　\r\n\r\n     　　 Ver.U_1.25\r\n\r\n  　　 2008年09月05日");
    EXPECT_EQ(fake.messages[0].flags, platform::mbOk);
}

TEST_F(MenuChoiceTest, ListTool) {
    carryOutMenuChoice(nullptr, menuIdList, 0);
    EXPECT_EQ(ui.listWindows, 1);
    EXPECT_EQ(runState.listWindowActive, 0) << "no list window could be opened";
    ui.listAvailable = true;
    carryOutMenuChoice(nullptr, menuIdList, 0);
    EXPECT_EQ(runState.listWindowActive, 1);
    carryOutMenuChoice(nullptr, menuIdList, 0);
    EXPECT_EQ(ui.listWindows, 2) << "an open list is not opened again";
}

TEST_F(MenuChoiceTest, ClipboardTool) {
    dir.write("Tavrin.ini", "[.html]\n" + viewer + "\n%end\n");
    settings.alternatePath = dir.write("other.ini", "[.html]\n" + editor + "\n%end\n");
    struct Case {
        const char* name;
        std::optional<std::string> clipboard;
        int shift;
        Starts want;
    };
    const Case cases[] = {
        {"no clipboard text", std::nullopt, 0, {}},
        {"text without a URL", std::string("no link here"), 0, {}},
        {"a URL goes to the dispatch", std::string("http://c/p.html"), 0, {{viewer, "http://c/p.html"}}},
        {"with Shift the other settings file", std::string("http://c/p.html"), 1,
         {{editor, "http://c/p.html"}}},
    };
    for (const Case& c : cases) {
        fake.starts.clear();
        fake.clipboard = c.clipboard;
        menuState.choiceShiftFlag = c.shift;
        carryOutMenuChoice(nullptr, menuIdClipboard, 0);
        EXPECT_EQ(starts(), c.want) << c.name;
    }
    // A folder opens the list window (none here, so nothing more happens).
    fake.clipboard = dir.mkdir("links");
    carryOutMenuChoice(nullptr, menuIdClipboard, 0);
    EXPECT_EQ(ui.listWindows, 1);
    EXPECT_EQ(runState.listWindowActive, 0);
}

}  // namespace
