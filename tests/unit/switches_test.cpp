// The "/#" switches: tokens of their own, value walks and their limits.
#include <gtest/gtest.h>

#include <string>

#include "app/switches.h"
#include "common/app_state.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

namespace {

class Switches : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        startOptions = StartOptions{};
        linkSource = LinkSource{};
        runState = RunState{};
        programPaths = ProgramPaths{};
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        runState.mouseButtonCount = 3;
    }
    TempDir dir;
};

TEST(SwitchTokens, ASwitchCountsOnlyWhereItBeginsAToken) {
    struct Case { const char* what; std::string line, name; std::size_t at; };
    const Case cases[] = {
        {"start of the text", "/#b x", "/#b", 0},
        {"after a space", "x /#B", "/#b", 2},
        {"after a TAB", "x\t/#c", "/#c", 2},
        {"after a line end", "http://a/\r\n/#c", "/#c", 11},
        {"inside a URL", "http://host/app/#blog", "/#b", std::string::npos},
        {"inside a URL, then a token", "http://h/#c /#c", "/#c", 12},
        {"glued to text before it", "x/#c", "/#c", std::string::npos},
        {"inside quotes", "\"a /#c\"", "/#c", std::string::npos},
        {"after a quoted token", "\"a b\" /#c", "/#c", 6},
        {"right after a closing quote", "\"a\"/#c", "/#c", std::string::npos},
        {"a line end closes an open quote", "\"a\n/#c", "/#c", 3},
        {"longer token that begins with it", "/#bottom", "/#b", 0},
        {"after a double-byte character", "\x95\x5c /#c", "/#c", 3},
        {"glued to a double-byte character", "\x95\x5c/#c", "/#c", std::string::npos},
    };
    for (const auto& c : cases) EXPECT_EQ(findSwitch(c.line, c.name), c.at) << c.what;
}

TEST_F(Switches, BaseUrlAndLinkMode) {
    struct Case { std::string line; int linkMode; std::string baseUrl; };
    const Case cases[] = {
        {"", 0, ""},
        {"http://a/page#bottom", 0, ""},
        // Switch texts inside a URL belong to the URL (not link-list mode).
        {"http://a/page/#bottom", 0, ""},
        {"http://host/app/#blog /#b", 2, ""},
        {"http://host/app/#b=http://x/", 0, ""},
        {"/#B=http://a/ x", 1, "http://a/"},
        {"x /#b=   http://a/", 1, "http://a/"},
        {"/#b=\"q\"\tz y", 1, "\"q\"\tz"},      // quotes and tabs belong to the value
        {"/#b=", 0, ""},                          // present but empty: "/#b" is not tried
        {"/#b=   ", 0, ""},
        {"/#b", 2, ""},
        {"/#b=" + std::string(259, 'u'), 1, std::string(259, 'u')},
        {"/#b=" + std::string(260, 'u') + " z", 1, std::string(259, 'u')},
    };
    for (const auto& c : cases) {
        linkSource.linkMode = 1;
        linkSource.baseUrl = "http://old/";
        applySwitches(c.line, switchesFull);
        EXPECT_EQ(linkSource.linkMode, c.linkMode) << c.line;
        EXPECT_EQ(linkSource.baseUrl, c.baseUrl) << c.line;
    }
}

TEST_F(Switches, BaseOnlyModeStopsAfterTheBaseUrl) {
    applySwitches("/#b=http://a/ /#c /#details /#u=ftp /#m=center", switchesBaseOnly);
    EXPECT_EQ(linkSource.linkMode, 1);
    EXPECT_EQ(startOptions.clipboardStart, 0);
    EXPECT_EQ(startOptions.browserQueryMode, 0);
    EXPECT_EQ(settings.schemesFromCommandLine, 0);
    EXPECT_EQ(settings.menuPosition, menuPositionUnset);
    EXPECT_EQ(programPaths.settingsPath, "");
}

TEST_F(Switches, ClipboardAndBrowserQuery) {
    struct Case { std::string line; int clipboard; int queryMode; std::string service; };
    const Case cases[] = {
        // A URL's fragment is no switch: neither clipboard nor browser.
        {"http://a/#comments", 0, 0, ""},
        {"http://a/#details", 0, 0, ""},
        {"http://a/#d=svc", 0, 0, ""},
        {"/#C /#D", 1, 1, ""},
        {"/#d=  svc x", 0, 2, "svc"},
        {"/#d= ", 0, 0, ""},
        {"/#d=" + std::string(31, 's'), 0, 2, std::string(31, 's')},
        {"/#d=" + std::string(32, 's'), 0, 2, std::string(31, 's')},
    };
    for (const auto& c : cases) {
        startOptions = StartOptions{};
        applySwitches(c.line, switchesFull);
        EXPECT_EQ(startOptions.clipboardStart, c.clipboard) << c.line;
        EXPECT_EQ(startOptions.browserQueryMode, c.queryMode) << c.line;
        EXPECT_EQ(startOptions.browserServiceName, c.service) << c.line;
    }
}

TEST_F(Switches, SettingsPathFallsBackUnlessTheFileExists) {
    dir.write("x.ini", "");
    dir.mkdir("sub");
    dir.write("sub/other.ini", "");
    const std::string folder = dir.path();
    struct Case { std::string line; std::string path; };
    const Case cases[] = {
        {"http://a/", folder + "Tavrin.ini"},
        {"/#s=x.ini", folder + "x.ini"},
        {"/#S=sub\\other.ini http://a/", folder + "sub\\other.ini"},
        {"/#s=missing.ini", folder + "Tavrin.ini"},
        // An immediate space leaves the value empty: the folder itself.
        {"/#s= x.ini", folder},
    };
    for (const auto& c : cases) {
        applySwitches(c.line, switchesFull);
        EXPECT_EQ(programPaths.settingsPath, c.path) << c.line;
    }
}

TEST_F(Switches, SettingsPathValueLimits) {
    dir.write("x.ini", "");
    dir.write("xy.ini", "");
    // A value of an exact length that still names a file: the folder,
    // ".\" repeated, and a file name of the fitting parity.
    auto padded = [&](std::size_t length) {
        const std::string& head = dir.path();
        std::string tail = (length - head.size()) % 2 ? "x.ini" : "xy.ini";
        std::string pad;
        while (head.size() + pad.size() + tail.size() < length) pad += ".\\";
        return head + pad + tail;
    };
    programPaths.programFolder.clear();
    const std::string ok = padded(258), tooLong = padded(259);
    ASSERT_EQ(ok.size(), 258u);
    ASSERT_EQ(tooLong.size(), 259u);

    applySwitches("/#s=" + ok, switchesFull);
    EXPECT_EQ(programPaths.settingsPath, ok);
    applySwitches("/#s=" + tooLong, switchesFull);
    EXPECT_EQ(programPaths.settingsPath, "Tavrin.ini");

    // Joined to the folder it would no longer fit a path: the default wins
    // rather than a cut path that names some other file.
    programPaths.programFolder = dir.path();
    std::string value = padded(dir.path().size() + 257).substr(dir.path().size());
    applySwitches("/#s=" + value, switchesFull);
    EXPECT_EQ(programPaths.settingsPath, dir.path() + "Tavrin.ini");
}

TEST_F(Switches, MenuPosition) {
    struct Case { std::string line; int position; int x, y; };
    const Case cases[] = {
        {"", menuPositionUnset, 0, 0},
        {"/#m=mouse http://a/", menuAtMouse, 0, 0},
        {"/#M=10,20", menuAtXY, 10, 20},
        {"/#m= center", menuPositionUnset, 0, 0},
        {"/#m=center" + std::string(252, 'x'), menuCentred, 0, 0},   // 258 characters
        {"/#m=center" + std::string(253, 'x'), menuPositionUnset, 0, 0},
    };
    for (const auto& c : cases) {
        settings = Settings{};
        applySwitches(c.line, switchesFull);
        EXPECT_EQ(settings.menuPosition, c.position) << c.line;
        EXPECT_EQ(settings.menuX, c.x) << c.line;
        EXPECT_EQ(settings.menuY, c.y) << c.line;
    }
}

TEST_F(Switches, SchemeListSwallowsTheRestOfTheLine) {
    applySwitches("http://a/ /#u=ftp;mailto http://b/", switchesFull);
    EXPECT_EQ(runState.transferBuffer, "ftp;mailto http://b/\r\n");
    EXPECT_EQ(settings.schemeEnabled, (std::array<int, 4>{0, 1, 1, 0}));
    EXPECT_EQ(settings.schemesFromCommandLine, 1);

    settings = Settings{};
    applySwitches("/#u=file" + std::string(31000, 'x'), switchesFull);
    ASSERT_EQ(runState.transferBuffer.size(), 30159u);
    EXPECT_EQ(runState.transferBuffer.substr(30157), "\r\n");
    EXPECT_EQ(settings.schemeEnabled, (std::array<int, 4>{0, 0, 0, 1}));

    settings = Settings{};
    runState.transferBuffer = "kept";
    applySwitches("http://a/", switchesFull);
    EXPECT_EQ(settings.schemesFromCommandLine, 0);
    EXPECT_EQ(runState.transferBuffer, "kept");
}

TEST_F(Switches, KeyInversionsFlipOnce) {
    runState.shiftFlag = 1;  // Shift held and "/#k=sft" cancel out
    applyKeyInversions("/#K=SFTx /#k=ctl /#k=ctl");
    EXPECT_EQ(runState.shiftFlag, 0);
    EXPECT_EQ(runState.ctrlFlag, 1);
    applyKeyInversions("http://a/");
    EXPECT_EQ(runState.shiftFlag, 0);
    EXPECT_EQ(runState.ctrlFlag, 1);
    // Inside a URL or a quoted token the text is no switch.
    applyKeyInversions("http://a/x/#k=sft \"/#k=ctl\"");
    EXPECT_EQ(runState.shiftFlag, 0);
    EXPECT_EQ(runState.ctrlFlag, 1);
}

}  // namespace
