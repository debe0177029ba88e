// Where the menu goes in each position mode, without a mouse, without an
// active window, and at the last menu's place.
#include <gtest/gtest.h>

#include "menu/menu_position.h"
#include "settings/settings.h"

namespace {

constexpr unsigned centred = trackCenterAlign | trackVCenterAlign;

TEST(MenuPosition, ByMode) {
    struct Case {
        const char* name;
        int mode, buttons;
        bool foreground;
        ScreenRect rect;
        int same;
        MenuPlacement want;
    };
    const ScreenRect window{100, 50, 501, 351};  // 401 x 301
    const Case cases[] = {
        {"active window: its centre", menuAtActiveWindow, 3, true, window, 0, {300, 200, centred}},
        {"no active window: screen centre", menuAtActiveWindow, 3, false, window, 0, {640, 493, centred}},
        {"empty active window: screen centre", menuAtActiveWindow, 3, true, {10, 10, 10, 90}, 0,
         {640, 493, centred}},
        {"inverted active window: screen centre", menuAtActiveWindow, 3, true, {50, 50, 40, 90}, 0,
         {640, 493, centred}},
        {"fixed point", menuAtXY, 3, true, window, 0, {77, 88, 0}},
        {"mouse", menuAtMouse, 3, true, window, 0, {321, 654, 0}},
        {"second mouse mode", menuAtMouse2, 3, true, window, 0, {321, 654, trackVCenterAlign}},
        {"mouse without a mouse", menuAtMouse, 0, true, window, 0, {640, 493, centred}},
        {"second mouse mode without a mouse", menuAtMouse2, 0, true, window, 0, {640, 493, centred}},
        {"centre", menuCentred, 3, true, window, 0, {640, 493, centred}},
        {"same place as the last menu", menuAtMouse, 3, true, window, 1, {5, 6, trackVCenterAlign}},
    };
    for (const Case& c : cases) {
        PlacementInput in;
        in.menuPosition = c.mode;
        in.menuX = 77;
        in.menuY = 88;
        in.screenWidth = 1281;     // halves round towards zero
        in.maximizedHeight = 987;
        in.mouseButtonCount = c.buttons;
        in.cursorX = 321;
        in.cursorY = 654;
        in.haveForeground = c.foreground;
        in.foreground = c.rect;
        in.samePosition = c.same;
        in.last = {5, 6, trackVCenterAlign};
        const MenuPlacement got = chooseMenuPlacement(in);
        EXPECT_EQ(got.x, c.want.x) << c.name;
        EXPECT_EQ(got.y, c.want.y) << c.name;
        EXPECT_EQ(got.flags, c.want.flags) << c.name;
    }
}

}  // namespace
