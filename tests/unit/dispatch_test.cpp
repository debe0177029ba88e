// Association dispatch end to end over a settings file: block choice,
// "[all]" and "[.*]", the single-program rule, repeated runs with pauses,
// "%M" starts and opening by the system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/readme_sample.h"
#include "tests/support/temp_dir.h"

namespace {

class RecordingUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int toolsMenu, int samePosition) override {
        menus.push_back(toolsMenu * 10 + samePosition);
        if (choiceOpensList) runState.listWindowActive = 1;
    }
    bool createListWindow(platform::WindowHandle) override { return false; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override { ++closed; }
    std::vector<int> menus;
    int closed = 0;
    bool choiceOpensList = false;  // the choice lists the targets
};

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&recordingUi);
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
        settings = Settings{};
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
        player = dir.write("player.exe", "MZ");
    }
    void TearDown() override {
        installUi(previousUi);
        installBrowserPort(previousBrowser);
    }

    void targets(const std::vector<std::string>& urls) {
        for (std::size_t i = 0; i < urls.size(); ++i) urlList.entries[i].url = urls[i];
        urlList.urlCount = static_cast<int>(urls.size());
    }
    int dispatch(const std::string& ini, const std::vector<std::string>& urls) {
        dir.write("Tavrin.ini", ini);
        targets(urls);
        return openWithSettings(nullptr, 0, 0);
    }
    std::vector<std::string> startedFiles() const {
        std::vector<std::string> out;
        for (const auto& s : fake.starts) out.push_back(s.file);
        return out;
    }

    FakePlatform fake;
    RecordingUi recordingUi;
    UiPort* previousUi = nullptr;
    BrowserPort* previousBrowser = nullptr;
    TempDir dir;
    std::string viewer, editor, player;
};

TEST_F(DispatchTest, OneProgramStartsWithTheUrlInItsOwnFolder) {
    EXPECT_EQ(dispatch("[.html]\n" + viewer + "\n%end\n", {"http://host/dir/a page.HTML"}), 1);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, viewer);
    EXPECT_EQ(fake.starts[0].parameters, "\"http://host/dir/a page.HTML\"");
    EXPECT_EQ(fake.starts[0].directory, dir.path());
    EXPECT_EQ(dispatchState.sectionKey, "[.HTML]");
    EXPECT_EQ(urlList.urlCount, 0);
    EXPECT_TRUE(recordingUi.menus.empty());
}

TEST_F(DispatchTest, TargetsListedFromTheMenuStayTheList) {
    const std::string ini = "[.html]\n" + viewer + "\n" + editor + "\n%end\n";
    const std::vector<std::string> urls = {"http://h/1.html", "http://h/2.html"};
    runState.listWindowActive = 0;
    dispatch(ini, urls);
    EXPECT_EQ(urlList.urlCount, 0) << "a choice that lists nothing ends the targets";
    recordingUi.choiceOpensList = true;
    dispatch(ini, urls);
    EXPECT_EQ(urlList.urlCount, 2) << "the list window shows them now";
    runState.listWindowActive = 0;
}

TEST_F(DispatchTest, BlockChoice) {
    struct Case {
        std::string name, ini, url;
        std::vector<std::string> started;  // files started, in order
        int menus;
    };
    const std::string all = "[all]\n" + editor + "\n" + player + "\n%end\n";
    const std::vector<Case> cases = {
        {"blank key", "[blank]\n" + viewer + "\n", "http://h/dir/", {viewer}, 0},
        {"exclusive block skips [all]", "[.txt]#\n" + viewer + "\n%end\n" + all, "http://h/a.txt", {viewer}, 0},
        {"block plus [all] offers a menu", "[.txt]\n" + viewer + "\n%end\n" + all, "http://h/a.txt", {}, 1},
        {"missing program falls back to [.*] with a menu",
         "[.txt]\n" + dir.file("gone.exe") + "\n%end\n[.*]\n" + viewer + "\n%end\n", "http://h/a.txt", {}, 1},
        {"missing program and no [.*] opens by the system",
         "[.txt]\n" + dir.file("gone.exe") + "\n%end\n", "http://h/a.txt", {"http://h/a.txt"}, 0},
        {"no block and no [.*] opens by the system", "[.doc]\n" + viewer + "\n", "http://h/a.pdf",
         {"http://h/a.pdf"}, 0},
        {"[.*] with one program and a Run line", "[.*]\n" + viewer + "\n>-x %K\n%end\n", "http://h/a.pdf",
         {viewer}, 0},
        {"[.*] without programs but with rows shows the menu", "[.*]\n{Group\n}\n", "http://h/a.pdf", {}, 1},
        // Headers on comment lines never count: the real block is read.
        {"key first inside a comment", "; see [.zip] below\n" + viewer + "\n%end\n[.zip]\n" + editor + "\n",
         "http://h/a.zip", {editor}, 0},
        {"key inside a non-comment line still counts", "x [.zip]\n" + viewer + "\n%end\n[.zip]\n" + editor + "\n",
         "http://h/a.zip", {viewer}, 0},
        {"[all] only in a comment adds nothing",
         "[.html]\n" + viewer + "\n%end\n  ;[all]\n" + editor + "\n%end\n", "http://h/a.html", {viewer}, 0},
        {"[.*] in a comment is not the fallback",
         ";[.*]\n" + viewer + "\n%end\n", "http://h/a.pdf", {"http://h/a.pdf"}, 0},
        {"[blank] in a comment is not the block",
         "; [blank]\n" + viewer + "\n%end\n[blank]\n" + editor + "\n", "http://h/dir/", {editor}, 0},
    };
    for (const auto& c : cases) {
        fake.starts.clear();
        recordingUi.menus.clear();
        dispatch(c.ini, {c.url});
        EXPECT_EQ(startedFiles(), c.started) << c.name;
        EXPECT_EQ(static_cast<int>(recordingUi.menus.size()), c.menus) << c.name;
    }
}

TEST_F(DispatchTest, AllBlockNamedInACommentIsNotTheAllBlock) {
    // The comment names "[all]" before the real block; the rows offered are
    // the target's own and the real "[all]"'s, not the lines after the
    // comment.
    const std::string ini = "; Exclusive block: [all] is not added.\n[.txt]#\n" + player +
                            "\n%end\n[.html]\n" + viewer + "\n%end\n[all]\n" + editor +
                            "\n>-e %L\n>-f %L\n%end\n";
    dispatch(ini, {"http://h/a.html"});
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(recordingUi.menus.size(), 1u);
    std::vector<std::string> programs;
    for (int i = 0; i < associationTable.itemCount; ++i)
        if (associationTable.items[i].kind == itemProgram) programs.push_back(associationTable.items[i].command);
    EXPECT_EQ(programs, (std::vector<std::string>{viewer, editor}));
    EXPECT_EQ(associationTable.itemCount, 4);
}

// The README's sample settings file, with its programs in the test's
// folder in place of C:\Tools\: each target gets the rows the README's
// comments promise.
TEST_F(DispatchTest, ReadmeSample) {
    std::string ini = readmeSettingsSample();
    ASSERT_NE(ini.find("[all]"), std::string::npos) << "README.md's ```ini block";
    const std::string folder = dir.path().substr(0, dir.path().size() - 1);
    for (std::size_t at = ini.find("C:\\Tools"); at != std::string::npos; at = ini.find("C:\\Tools", at))
        ini.replace(at, 8, folder);
    const std::string notepad = dir.write("notepad.exe", "MZ");
    // The system block as at start: "@path=" lists the folder, "@param" is on.
    dir.write("Tavrin.ini", ini);
    ASSERT_EQ(loadSettings(nullptr, 1), 1);
    ASSERT_EQ(settings.parametersOn, 1);
    ASSERT_EQ(userParameters.count, 1);
    struct Case {
        std::string url;
        std::vector<std::string> programs;  // the table's program rows
        std::vector<std::string> started;
    };
    const std::vector<Case> cases = {
        // [.html] and the real [all]: Viewer, then Editor with its three
        // sub-commands; two programs, so the menu opens.
        {"http://host/page.html", {viewer, editor}, {}},
        {"http://host/dir/", {viewer, editor}, {}},
        // The exclusive [.txt]# block: its one program starts at once.
        {"http://host/notes.txt", {notepad}, {notepad}},
        // The fallback: the associated program and [all].
        {"http://host/doc.pdf", {"@system", editor}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        fake.starts.clear();
        recordingUi.menus.clear();
        dispatch(ini, {c.url});
        std::vector<std::string> programs;
        for (int i = 0; i < associationTable.itemCount; ++i)
            if (associationTable.items[i].kind == itemProgram)
                programs.push_back(associationTable.items[i].command);
        EXPECT_EQ(programs, c.programs);
        EXPECT_EQ(startedFiles(), c.started);
        EXPECT_EQ(recordingUi.menus.size(), c.started.empty() ? 1u : 0u);
    }
    // The [all] rows as the menu will show them.
    dispatch(ini, {"http://host/page.html"});
    ASSERT_EQ(associationTable.itemCount, 6);
    const AssociationItem* rows = associationTable.items.data();
    EXPECT_EQ(rows[1].command, "--folder \"%-J\" %L");
    EXPECT_EQ(rows[2].caption, "Editor");
    EXPECT_EQ(rows[3].subKind, subRunEach);
    EXPECT_EQ(rows[3].caption, "Open each selected URL");
    EXPECT_EQ(rows[4].command, "%M");
    EXPECT_EQ(rows[5].command, "%S");
    EXPECT_EQ(rows[5].caption, "Hand to the browser");
    EXPECT_EQ(rows[2].subCount, 3);
}

TEST_F(DispatchTest, RunEachStartsOncePerUrlWithPauses) {
    settings.firstPause = 100;
    settings.laterPause = 200;
    dispatch("[.html]\n" + viewer + "\n]-open %L\n", {"http://a/1.html", "http://a/2.html", "http://a/3.html"});
    ASSERT_EQ(fake.starts.size(), 3u);
    EXPECT_EQ(fake.starts[2].parameters, "-open http://a/3.html");
    EXPECT_EQ(fake.sleeps, (std::vector<int>{100, 200, 200}));
}

TEST_F(DispatchTest, AllTargetsInPlaceOfM) {
    struct Case { std::string templ, want; };
    const Case cases[] = {
        {"-a %M -b", "-a http://a/1.html \"http://a/2 x.html\" -b"},
        {"%m", "http://a/1.html \"http://a/2 x.html\""},
        {"%M-end", "http://a/1.html \"http://a/2 x.html\"-end"},
    };
    for (const auto& c : cases) {
        fake.starts.clear();
        dispatch("[.html]\n" + viewer + "\n>" + c.templ + "\n", {"http://a/1.html", "http://a/2 x.html"});
        ASSERT_EQ(fake.starts.size(), 1u) << c.templ;
        EXPECT_EQ(fake.starts[0].parameters, c.want);
    }
    // A later start without a template never inherits the flag.
    fake.starts.clear();
    dispatch("[.html]\n" + viewer + "\n", {"http://a/1.html"});
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "http://a/1.html");
}

TEST_F(DispatchTest, BrowserHandOverStartsNothing) {
    fake.bridge.emplace();
    fake.bridge->accepting = {"B"};
    dispatch("[.html]\n" + viewer + "\n>%S=B\n", {"http://a/1.html"});
    EXPECT_TRUE(fake.starts.empty());
    ASSERT_EQ(fake.bridge->sent.size(), 1u);
}

TEST_F(DispatchTest, OpenWithDialogWhenTheSystemCannotOpen) {
    fake.shellResult = 31;
    dispatch("", {"http://h/a.xyz"});
    ASSERT_EQ(fake.starts.size(), 2u);
    EXPECT_EQ(fake.starts[1].file, "rundll32.exe");
    EXPECT_EQ(fake.starts[1].parameters, "shell32.dll,OpenAs_RunDLL http://h/a.xyz");
}

TEST_F(DispatchTest, SystemProgramRows) {
    fake.associations["http://h/a.txt"] = "\"" + editor + "\"";
    dispatch("[.txt]\n@system\n", {"http://h/a.txt"});
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, editor);
    // A target that is itself the associated program stays with the system.
    fake.starts.clear();
    fake.associations["http://h/editor.exe"] = editor;
    dispatch("[.exe]\n@system\n", {"http://h/editor.exe"});
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, "http://h/editor.exe");
}

TEST_F(DispatchTest, EditsBetweenDispatchesTakeEffect) {
    dispatch("[.html]\n" + viewer + "\n", {"http://a/x.html"});
    dispatch("[.html]\n" + editor + "\n", {"http://a/x.html"});
    EXPECT_EQ(startedFiles(), (std::vector<std::string>{viewer, editor}));
}

TEST_F(DispatchTest, UnreadableSettingsFileIsReported) {
    programPaths.settingsPath = dir.mkdir("Tavrin.ini");
    targets({"http://a/x.html"});
    EXPECT_EQ(openWithSettings(nullptr, 0, 0), 0);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "設定ファイル異常");
    EXPECT_EQ(fake.messages[0].caption, "エラー");
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(DispatchTest, AlternateFileIsReadWhenAsked) {
    settings.alternatePath = dir.write("other.ini", "[.html]\n" + editor + "\n");
    dir.write("Tavrin.ini", "[.html]\n" + viewer + "\n");
    targets({"http://a/x.html"});
    openWithSettings(nullptr, 1, 0);
    EXPECT_EQ(startedFiles(), (std::vector<std::string>{editor}));
    EXPECT_EQ(dispatchState.useAlternateFile, 1);
}

}  // namespace
