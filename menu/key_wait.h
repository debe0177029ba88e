// After a menu choice: which of Ctrl and Shift were down at the choice, and
// a wait until both are let go, so that a started program never sees them
// still held. A key held on for about 3 seconds brings a reminder.
#pragma once
#include "platform/platform.h"

struct KeysAtChoice {
    int ctrl = 0;
    int shift = 0;
};

// Shift at the choice raises menuState.choiceShiftFlag.
KeysAtChoice waitForKeyRelease(platform::WindowHandle owner);
