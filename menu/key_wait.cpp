// The key-release wait after a menu choice.
#include "menu/key_wait.h"

#include "menu/menu_state.h"

namespace {

constexpr int passMilliseconds = 10;
constexpr int firstWarningPass = 300;   // about 3 seconds
constexpr int repeatWarningsFrom = 500;

// Time spent in the reminder does not count: passes are counted, not time.
void waitUntilUp(platform::WindowHandle owner, int virtualKey) {
    platform::Platform& os = platform::os();
    int pass = 0;
    while (os.isKeyPhysicallyDown(virtualKey)) {
        os.sleep(passMilliseconds);
        ++pass;
        if (pass == firstWarningPass || pass >= repeatWarningsFrom)
            os.messageBox(owner, "キーを開放してください！", "注意", platform::mbOk);
    }
}

}  // namespace

KeysAtChoice waitForKeyRelease(platform::WindowHandle owner) {
    platform::Platform& os = platform::os();
    KeysAtChoice keys;
    keys.ctrl = os.isKeyDown(platform::vkControl) ? 1 : 0;
    keys.shift = os.isKeyDown(platform::vkShift) ? 1 : 0;
    if (keys.shift) menuState.choiceShiftFlag = 1;
    waitUntilUp(owner, platform::vkControl);
    waitUntilUp(owner, platform::vkShift);
    return keys;
}
