// Line cutting of settings texts and the "@menu=" / "@scheme=" value parsers.
#include <gtest/gtest.h>

#include "common/app_state.h"
#include "settings/option_parsers.h"
#include "settings/settings.h"
#include "settings/settings_line.h"

namespace {

TEST(SettingsLine, CutsRemovesAndCounts) {
    const std::string x517(517, 'x');
    struct Case { std::string text; std::size_t offset; std::string line; std::size_t consumed; };
    const Case cases[] = {
        {"abc\ndef\n", 4, "def", 4},
        {std::string(1 << 20, 'x') + "\n", 0, std::string(517, 'x'), (1u << 20) + 1},
        {"a\r\tb\r\n", 0, "ab", 6},
        {"\n", 0, "", 1},
        // The end of the text ends the last line: it is counted to the
        // end, so callers read it (it used to count one past the end).
        {"abc", 0, "abc", 3},
        {"x\nabc", 2, "abc", 3},
        {"x\r\nab\r", 3, "ab", 3},
        {"ab", 2, "", 1},                           // at the end: no line
        {"ab", 5, "", 1},                           // offset beyond the text
        {x517 + "\n", 0, x517, 518},
        {x517 + "y\n", 0, x517, 519},
        {"\t\t" + x517 + "\n", 0, x517, 520},       // removed TABs do not count
        {std::string(516, 'x') + "\x82\xa0\n", 0, std::string(516, 'x'), 519},
        {std::string(515, 'x') + "\x82\xa0\n", 0, std::string(515, 'x') + "\x82\xa0", 518},
        {std::string("ab\0cd\nz\n", 8), 0, "ab", 6},  // NUL ends the line's text
        {"ab\x82\n", 0, "ab", 4},                   // lone lead byte before the LF
    };
    for (const auto& c : cases) {
        std::size_t consumed = 0;
        EXPECT_EQ(readSettingsLine(c.text, c.offset, consumed), c.line) << c.text.substr(0, 40);
        EXPECT_EQ(consumed, c.consumed) << c.text.substr(0, 40);
    }
}

class ValueParsers : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        runState.screenWidth = 1280;
        runState.maximizedHeight = 990;
    }
    void TearDown() override {
        settings = Settings{};
        runState = RunState{};
    }
};

TEST_F(ValueParsers, MenuPosition) {
    struct Case { std::string value; int mice; int mode, x, y; };
    const Case cases[] = {
        {"MAX,100\r\n", 0, menuAtXY, 1280, 100},
        {"100,MAX\r\n", 0, menuAtXY, 100, 990},
        {"100,max\r\n", 0, menuAtXY, 100, 0},       // last token: exact capitals only
        {"100,max,\r\n", 0, menuAtXY, 100, 990},    // comma follows: any case
        {",5\r\n", 0, menuAtXY, 0, 5},
        {"1234567,5\r\n", 0, menuAtXY, 123456, 5},  // tokens keep 6 characters
        {"mouse\r\n", 2, menuAtMouse, 0, 0},
        {"mouse\r\n", 0, menuAtActiveWindow, 0, 0},
        {"mous2\r\n", 3, menuAtMouse2, 0, 0},
        {"Center\r\n", 0, menuCentred, 0, 0},
        {"MAX\r\n", 0, menuAtActiveWindow, 0, 0},
        {"250\r\n", 0, menuAtActiveWindow, 0, 0},
        {"  center\r\n", 0, menuAtActiveWindow, 0, 0},  // cut to "  cent"
    };
    for (const auto& c : cases) {
        settings = Settings{};
        runState.mouseButtonCount = c.mice;
        parseMenuPosition(c.value);
        EXPECT_EQ(settings.menuPosition, c.mode) << c.value;
        EXPECT_EQ(settings.menuX, c.x) << c.value;
        EXPECT_EQ(settings.menuY, c.y) << c.value;
    }
}

// Written points keep the place they had while Windows scaled the program;
// MAX is the screen's own measure, already in the display's pixels.
TEST_F(ValueParsers, MenuPointAtSystemResolution) {
    struct Case { std::string value; int dpi, x, y; };
    const Case cases[] = {
        {"200,150\r\n", 144, 300, 225},
        {"200,150\r\n", 120, 250, 188},
        {"200,150\r\n", 96, 200, 150},
        {"MAX,100\r\n", 144, 1280, 150},
        {"100,MAX\r\n", 192, 200, 990},
        {"-10,0\r\n", 144, -15, 0},
    };
    for (const auto& c : cases) {
        settings = Settings{};
        runState.systemDpi = c.dpi;
        parseMenuPosition(c.value);
        EXPECT_EQ(settings.menuPosition, menuAtXY) << c.value << " at " << c.dpi;
        EXPECT_EQ(settings.menuX, c.x) << c.value << " at " << c.dpi;
        EXPECT_EQ(settings.menuY, c.y) << c.value << " at " << c.dpi;
    }
}

TEST_F(ValueParsers, SchemeList) {
    using Flags = std::array<int, 4>;
    struct Case { std::string value; Flags want; };
    const Case cases[] = {
        {"https\r\n", {1, 0, 0, 0}},
        {"ftp;MAILTO", {0, 1, 1, 0}},          // no line end needed
        {"gopher\r\n", {1, 1, 1, 1}},         // none named: all on
        {"http; ftp\r\n", {1, 0, 0, 0}},      // a space ends the list
        {"xxfile\r\n", {0, 0, 0, 1}},
        {"xxxfile\r\n", {1, 1, 1, 1}},        // cut to "xxxfil"
        {"a;b;c;d;ftp\r\n", {1, 1, 1, 1}},    // only four tokens
        {"mailtoftp\r\n", {0, 0, 1, 0}},      // cut to "mailto"
    };
    for (const auto& c : cases) {
        settings.schemeEnabled = {0, 0, 0, 0};
        parseSchemeList(c.value);
        EXPECT_EQ(settings.schemeEnabled, c.want) << c.value;
    }
}

}  // namespace
