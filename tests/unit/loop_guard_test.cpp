// The loop guard: when the system's program for a URL is this program
// itself, nothing opens the URL "by the system"; a caution box says why.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/launch.h"
#include "launch/loop_guard.h"
#include "launch/select.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/tally_ui.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(UrlScheme, ForUrlsOnly) {
    struct Case {
        const char* text;
        const char* scheme;
    };
    const Case cases[] = {
        {"http://host/", "http"},
        {"HTTPS://host/", "https"},
        {"mailto:a@b.c", "mailto"},
        {"svn+ssh://h/", "svn+ssh"},
        {"C:\\dir\\page.url", ""},
        {"\\\\server\\share", ""},
        {"page.html", ""},
        {"1http://h/", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(urlScheme(c.text), c.scheme) << c.text;
}

class LoopGuard : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        settings = Settings{};
        saved = programPaths;
        programPaths.programPath = dir.write("Tavrin.exe", "MZ");
        programPaths.programName = "Tavrin";
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        browser = dir.write("browser.exe", "MZ");
        fake.schemePrograms["http"] = programPaths.programPath;
        fake.schemePrograms["https"] = browser;
    }
    void TearDown() override {
        installUi(previousUi);
        programPaths = saved;
    }

    void dispatch(const std::string& ini, const std::string& url) {
        dir.write("Tavrin.ini", ini);
        urlList.entries[0].url = url;
        urlList.urlCount = 1;
        openWithSettings(nullptr, 0, 0);
    }
    void expectRefused(const std::string& url) {
        EXPECT_TRUE(fake.starts.empty());
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].caption, "注意");
        EXPECT_NE(fake.messages[0].text.find("ブラウザが設定されていません"), std::string::npos);
        EXPECT_NE(fake.messages[0].text.find(url), std::string::npos);
        fake.messages.clear();
    }

    FakePlatform fake;
    TallyUi ui;
    UiPort* previousUi = nullptr;
    ProgramPaths saved;
    TempDir dir;
    std::string browser;
};

TEST_F(LoopGuard, OpeningByTheSystemIsRefusedWhenTheSystemWouldStartThisProgram) {
    openDocument("\"http://host/a b.html\"");
    expectRefused("http://host/a b.html");
    // The scheme and the registered path as the system may write them.
    fake.schemePrograms["http"] = "\"" + programPaths.programPath + "\"";
    openDocument("HTTP://host/");
    expectRefused("HTTP://host/");
    std::string upper = programPaths.programPath;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    fake.schemePrograms["http"] = upper;
    EXPECT_TRUE(systemOpensWithItself("http://host/"));
}

TEST_F(LoopGuard, OtherProgramsAndTargetsOpenAsBefore) {
    const std::vector<std::string> targets = {
        "https://host/",     // another browser
        "ftp://host/a.txt",  // nothing registered
        programPaths.programFolder + "saved.html",  // a file, no URL
    };
    for (const std::string& target : targets) {
        fake.starts.clear();
        openDocument(target);
        ASSERT_EQ(fake.starts.size(), 1u) << target;
        EXPECT_EQ(fake.starts[0].file, target);
    }
    EXPECT_TRUE(fake.messages.empty());
    // A program named like this one in another folder is another program.
    fake.schemePrograms["http"] = dir.mkdir("other") + "/Tavrin.exe";
    EXPECT_FALSE(systemOpensWithItself("http://host/"));
}

TEST_F(LoopGuard, EveryRouteToTheSystemIsGuarded) {
    struct Case {
        std::string name, ini;
    };
    const std::vector<Case> cases = {
        {"no association at all", ""},
        {"no block and no [.*]", "[.txt]\n" + browser + "\n%end\n"},
        {"an \"@system\" program", "[.html]\n@system | Browser\n%end\n"},
        {"an \"@system\" program with a sub-command", "[.html]\n@system\n>%L\n%end\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dispatch(c.ini, "http://host/page.html");
        expectRefused("http://host/page.html");
    }
    // What the menu does with an "@system" row, and with a program that is
    // gone since the settings were read.
    launchProgram("@system", "\"http://host/a page.html\"");
    expectRefused("http://host/a page.html");
    launchProgram(dir.file("gone.exe"), "http://host/page.html");
    expectRefused("http://host/page.html");
    EXPECT_EQ(ui.menus, 0);
}

TEST_F(LoopGuard, ThisProgramIsNeverTheAssociatedProgramOfARow) {
    // Should the system name this program for the target's type, the row
    // stays "@system", and the system's program for the URL decides.
    fake.associations["http://host/page.html"] = programPaths.programPath;
    dispatch("[.html]\n@system\n%end\n", "http://host/page.html");
    expectRefused("http://host/page.html");
    fake.schemePrograms["http"] = browser;
    dispatch("[.html]\n@system\n%end\n", "http://host/page.html");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, "http://host/page.html");
}

}  // namespace
