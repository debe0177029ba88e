// What a second copy hands over: the shared mutex name, and the payload and
// transfer code chosen from its command line or the clipboard.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/handoff.h"
#include "app/switches.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/url_list.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(InstanceMutexName, SlashesOfThePathBecomeDashes) {
    struct Case { std::string path, want; };
    const Case cases[] = {
        {"C:\\Tools\\Tavrin.exe", "C:-Tools-Tavrin.exe_Mark"},
        {"D:\\Other\\Tavrin.exe", "D:-Other-Tavrin.exe_Mark"},
        {"\\\\srv/share\\T.exe", "--srv-share-T.exe_Mark"},
        // Byte by byte: the trail byte of "表" (0x95 0x5C) turns too.
        {"C:\\\x95\x5c\\T.exe", "C:-\x95--T.exe_Mark"},
    };
    for (const auto& c : cases) EXPECT_EQ(instanceMutexNameFor(c.path), c.want) << c.path;
}

TEST(TransferCode, EveryCodeACopySendsDecodesToItsDigits) {
    for (int ctrl = 0; ctrl <= 1; ++ctrl)
        for (int clipboard = 0; clipboard <= 1; ++clipboard)
            for (int linkMode = 0; linkMode <= 2; ++linkMode) {
                TransferCode code;
                ASSERT_TRUE(decodeTransferCode(transferCodeFor(ctrl, clipboard, linkMode), code));
                EXPECT_EQ(code.ctrl, ctrl);
                EXPECT_EQ(code.clipboard, clipboard);
                EXPECT_EQ(code.linkMode, linkMode);
            }
    int accepted = 0;
    for (unsigned code = 0; code < 2000; ++code) {
        TransferCode digits;
        if (decodeTransferCode(code, digits)) ++accepted;
    }
    EXPECT_EQ(accepted, 12);
}

class PrepareHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        settings.pageExtensions[0] = ".html";
        settings.pageExtensionCount = 1;
        runState = RunState{};
        linkSource = LinkSource{};
        urlList = UrlList{};
    }
    FakePlatform fake;
    TempDir dir;
};

TEST_F(PrepareHandOff, PayloadAndCode) {
    const std::string folder = dir.mkdir("sub");
    struct Case {
        const char* what;
        std::string line;
        std::optional<std::string> clipboard;
        bool send;
        std::string payload;
        unsigned code;
    };
    const Case cases[] = {
        {"empty command line", "", "http://c/", false, "", 0},
        {"a URL", "http://a/", std::nullopt, true, "http://a/", 0},
        {"with a base URL", "/#b=http://base/ x.html", std::nullopt, true, "/#b=http://base/ x.html", 1},
        {"link list without base", "/#b http://a/", std::nullopt, true, "/#b http://a/", 2},
        {"clipboard", "/#c", "http://c/\r\nhttp://d/", true, "http://c/\r\nhttp://d/", 10},
        {"clipboard and link list", "/#C /#b", "http://c/", true, "http://c/", 12},
        {"no clipboard text", "/#c", std::nullopt, false, "", 0},
        {"nothing usable on the clipboard", "/#c", "just words", false, "", 0},
        {"Ctrl by switch", "/#k=ctl http://a/", std::nullopt, true, "/#k=ctl http://a/", 100},
        {"Ctrl and clipboard", "/#k=ctl /#c", "http://c/", true, "http://c/", 110},
        {"a folder is sent as given", folder + " /#c", "http://c/", true, folder + " /#c", 0},
        // The clipboard only stands in for missing input: a URL whose
        // fragment holds the switch is still what is sent.
        {"a URL holding the switch", "http://a/page/#comments", "http://c/", true,
         "http://a/page/#comments", 0},
        // Switch texts inside a URL or glued to other text are no switches:
        // no link-list mode for #blog, no clipboard for x/#c.
        {"a URL holding the link-list switch", "http://host/app/#blog", std::nullopt, true,
         "http://host/app/#blog", 0},
        {"a base URL switch inside a URL", "http://h/#b=http://x/ a", std::nullopt, true,
         "http://h/#b=http://x/ a", 0},
        {"clipboard switch glued to a word", "x/#c", "http://c/", true, "x/#c", 0},
    };
    for (const auto& c : cases) {
        runState.ctrlFlag = 0;
        fake.clipboard = c.clipboard;
        applyKeyInversions(c.line);
        HandOff h = prepareHandOff(nullptr, c.line);
        EXPECT_EQ(h.send, c.send) << c.what;
        if (!c.send) continue;
        EXPECT_EQ(h.payload, c.payload) << c.what;
        EXPECT_EQ(h.transferCode, c.code) << c.what;
    }
}

// A command line longer than the payload holds is cut between two tokens
// (it used to be cut at 30,159 characters, inside the last URL), and what
// could not be sent is recorded for the box.
TEST_F(PrepareHandOff, LongCommandLineIsCutBetweenTokens) {
    struct Case { const char* what; std::string line; bool send; std::string payload; };
    std::string many;
    while (many.size() < 30150) many += "http://h" + std::to_string(many.size()) + ".example/ ";
    const std::size_t lastBlank = many.rfind(' ', 30158);
    const Case cases[] = {
        {"one word too long", "http://a/ " + std::string(31000, 'x'), true, "http://a/ "},
        {"many URLs", many, true, many.substr(0, lastBlank + 1)},
        {"a single URL too long", "http://a/" + std::string(31000, 'x'), false, ""},
        {"a quoted title across the limit", "http://a/ \"http://b/||" + std::string(31000, 't') + "\"",
         true, "http://a/ "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HandOff h = prepareHandOff(nullptr, c.line);
        EXPECT_EQ(h.send, c.send);
        EXPECT_EQ(h.payload, c.payload);
        ASSERT_EQ(overlongUrls.noteCount, 1);
        EXPECT_EQ(overlongUrls.notes[0].limit, overlong::handOff);
    }
    // URLs too long to open are the running copy's to tell of, not ours.
    HandOff h = prepareHandOff(nullptr, "http://a/" + std::string(400, 'x') + " http://b/");
    EXPECT_TRUE(h.send);
    EXPECT_EQ(overlongUrls.noteCount, 0);
}

}  // namespace
