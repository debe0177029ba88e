// The wait for Ctrl and Shift to be let go after a menu choice: the keys
// at the choice, the reminder after 300 passes and from pass 500 on, and a
// fresh count for Shift.
#include <gtest/gtest.h>

#include <string>

#include "menu/key_wait.h"
#include "menu/menu_state.h"
#include "tests/support/fake_platform.h"

namespace {

TEST(KeyWait, RemindersByPasses) {
    struct Case {
        const char* name;
        int ctrlPolls, shiftPolls;
        std::size_t reminders;
    };
    const Case cases[] = {
        {"keys up at once", 0, 0, 0},
        {"Ctrl let go just before the reminder", 299, 0, 0},
        {"Ctrl held 300 passes", 300, 0, 1},
        {"Ctrl held until just before the repeats", 499, 0, 1},
        {"repeats from pass 500", 500, 0, 2},
        {"and in every later pass", 503, 0, 5},
        {"Shift counts on its own", 299, 299, 0},
        {"both held long enough", 300, 300, 2},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.keyHeldForPolls[platform::vkControl] = c.ctrlPolls;
        fake.keyHeldForPolls[platform::vkShift] = c.shiftPolls;
        waitForKeyRelease(nullptr);
        ASSERT_EQ(fake.messages.size(), c.reminders) << c.name;
        for (const auto& m : fake.messages) {
            EXPECT_EQ(m.text, "キーを開放してください！");
            EXPECT_EQ(m.caption, "注意");
            EXPECT_EQ(m.flags, platform::mbOk);
        }
        EXPECT_EQ(fake.sleeps.size(), static_cast<std::size_t>(c.ctrlPolls + c.shiftPolls)) << c.name;
        for (int ms : fake.sleeps) EXPECT_EQ(ms, 10);
    }
}

TEST(KeyWait, KeysAtTheChoice) {
    struct Case {
        std::vector<int> down;
        int ctrl, shift, flag;
    };
    const Case cases[] = {
        {{}, 0, 0, 0},
        {{platform::vkControl}, 1, 0, 0},
        {{platform::vkShift}, 0, 1, 1},
        {{platform::vkShift, platform::vkControl}, 1, 1, 1},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        fake.keysDown = c.down;
        menuState.choiceShiftFlag = 0;
        const KeysAtChoice keys = waitForKeyRelease(nullptr);
        EXPECT_EQ(keys.ctrl, c.ctrl);
        EXPECT_EQ(keys.shift, c.shift);
        EXPECT_EQ(menuState.choiceShiftFlag, c.flag);
    }
    // A right-button press during the menu is never cleared here.
    FakePlatform fake;
    menuState.choiceShiftFlag = 1;
    waitForKeyRelease(nullptr);
    EXPECT_EQ(menuState.choiceShiftFlag, 1);
    menuState.choiceShiftFlag = 0;
}

}  // namespace
