// A second copy that waits for a running copy: the bound of the wait, the
// box that tells of input given up, and the state it takes over from once
// the running copy has ended.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/first_copy.h"
#include "app/handoff.h"
#include "app/handoff_wait.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/url_list.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(HandOffWait, EndsAfterTenMinutesAcrossTheTickWrap) {
    struct Case { std::uint32_t started, now; bool over; };
    const std::uint32_t limit = 10u * 60u * 1000u;
    const Case cases[] = {
        {0, 0, false},
        {0, limit - 1, false},
        {0, limit, true},
        {1000, 1000 + limit + 5000, true},
        // GetTickCount wraps after 49.7 days: the wait is still measured.
        {0xFFFFFF00u, 0x00000100u, false},
        {0xFFFFFF00u, 0xFFFFFF00u + limit, true},
        {0xFFFFFF00u, 0xFFFFFF00u + limit - 1, false},
    };
    EXPECT_EQ(handOffWaitLimitMs, limit);
    for (const Case& c : cases)
        EXPECT_EQ(handOffWaitOver(c.started, c.now), c.over) << c.started << " " << c.now;
}

class LostHandOff : public ::testing::Test {
protected:
    void SetUp() override { programPaths.programName = "Tavrin"; }
    void TearDown() override { programPaths = saved; }
    ProgramPaths saved = programPaths;
    FakePlatform fake;
};

TEST_F(LostHandOff, TheBoxNamesTheWaitAndTheInput) {
    reportLostHandOff(nullptr, "http://a.example/x.html http://b.example/");
    ASSERT_EQ(fake.messages.size(), 1u);
    const auto& box = fake.messages[0];
    EXPECT_EQ(box.caption, "注意");
    EXPECT_EQ(box.flags, platform::mbOk | platform::mbIconWarning);
    EXPECT_NE(box.text.find("Tavrin"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("10分"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("\n\nhttp://a.example/x.html http://b.example/"), std::string::npos);
    EXPECT_EQ(box.text.find("…"), std::string::npos);
}

TEST_F(LostHandOff, ALongInputShowsItsStartWholeCharactersOnly) {
    // 150 double-byte characters after one ASCII byte: the cut at 200 bytes
    // would fall inside a character.
    std::string payload = "x";
    for (int i = 0; i < 150; ++i) payload += "表";
    const std::string text = lostHandOffText(payload);
    const std::string head = text.substr(text.find("\n\n") + 2);
    const std::string ellipsis = "…";
    ASSERT_GE(head.size(), ellipsis.size());
    EXPECT_EQ(head.substr(head.size() - ellipsis.size()), ellipsis);
    const std::string shown = head.substr(0, head.size() - ellipsis.size());
    EXPECT_EQ(shown, payload.substr(0, 199));
    EXPECT_EQ(shown.size() % 2, 1u);
}

// A second copy that takes over once the running copy has ended must end
// up where a first copy started with the same command line starts: what
// it read as a second copy (the [system] options of the default file, the
// base-only switches, the payload, the clipboard) must not linger. The
// settings a "/#s=" names are the sharpest test: the second copy read the
// default file, whose menu place, schemes, browsers and pauses the other
// file leaves unsaid.
class TakeOver : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("Prog.ini",
                  "[system]\r\n@menu=mouse\r\n@scheme=ftp\r\n@dde=One;Two\r\n@dist=100,200\r\n"
                  "@search=.xht\r\n@param\r\n%who% | default\r\n%end\r\n@filter\r\n>.a;.b\r\n"
                  "@len=40\r\n%end\r\n[list]\r\n" + dir.file("Prog.ini") + " | list\r\n");
        dir.write("other.ini", "[system]\r\n@dlm2=##\r\n%end\r\n");
    }
    void TearDown() override {
        startFresh("");
        programPaths = saved;
    }
    void startFresh(const std::string& line) {
        settings = Settings{};
        userParameters = UserParameters{};
        filterGroups = FilterGroups{};
        listPrograms = ListPrograms{};
        startOptions = StartOptions{};
        linkSource = LinkSource{};
        runState = RunState{};
        urlList = UrlList{};
        clearOverlongUrls();
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Prog.ini";
        programPaths.settingsPath.clear();
        runState.currentTarget = line;
    }
    static std::string state() {
        std::ostringstream o;
        const Settings& s = settings;
        o << "path=" << programPaths.settingsPath << "\nsep=" << s.separator << "|"
          << s.titleSeparator << "\nparam=" << s.parametersOn << "\nicons=" << s.showIcons
          << "\nmenu=" << s.menuPosition << "," << s.menuX << "," << s.menuY
          << "\nlen=" << s.titleLength << "\next2=" << s.alternatePath
          << "\npages=" << s.pageExtensionCount << ":" << s.pageExtensions[0]
          << "\ndde=" << s.browserServiceCount << ":" << s.browserServices[0]
          << "\nschemes=" << s.schemeEnabled[0] << s.schemeEnabled[1] << s.schemeEnabled[2]
          << s.schemeEnabled[3] << " from line " << s.schemesFromCommandLine
          << "\npauses=" << s.firstPause << "," << s.laterPause << "\ntemp=" << s.tempFolder
          << s.keepTemp << "\nparameters=" << userParameters.count << ":"
          << userParameters.rows[0].value << "\nfilters=" << filterGroups.groupCount
          << "\nlist=" << listPrograms.listProgramCount << "," << listPrograms.selectedListProgram
          << "\nstart=" << startOptions.clipboardStart << "," << startOptions.browserQueryMode
          << "," << startOptions.browserServiceName << "\nlink=" << linkSource.linkMode << ","
          << linkSource.baseUrl << "\nurls=" << urlList.urlCount
          << "\ntransfer=" << runState.transferBuffer << "\noverlong=" << overlongUrls.noteCount
          << "\n";
        return o.str();
    }
    TempDir dir;
    FakePlatform fake;
    ProgramPaths saved = programPaths;
};

TEST_F(TakeOver, StartsFromWhereAFirstCopyStarts) {
    const std::string lines[] = {
        "http://a.example/x.html",
        "/#s=other.ini http://a.example/x.html",
        "/#s=other.ini /#m=10,20 /#u=http /#d=Three http://a.example/",
        "/#b=http://base.example/ /#c",
        "/#c",
        "http://b.example/ http://a.example/" + std::string(31000, 'x'),
    };
    // The default file lets the second copy see ftp URLs only.
    fake.clipboard = "ftp://c.example/y.html\r\nhttp://d.example/";
    for (const std::string& line : lines) {
        SCOPED_TRACE(line.substr(0, 80));
        startFresh(line);
        ASSERT_EQ(loadFirstCopySettings(nullptr), 1);
        const std::string first = state();

        startFresh(line);
        ASSERT_EQ(loadSettings(nullptr, 1), 1);
        const HandOff handOff = prepareHandOff(nullptr, line);
        EXPECT_TRUE(handOff.send);
        forgetSecondCopyState();
        ASSERT_EQ(loadFirstCopySettings(nullptr), 1);
        EXPECT_EQ(state(), first);
    }
}

}  // namespace
