// While the menu is open, a right-button press counts like Shift held at
// the choice: the thread's mouse hook raises menuState.choiceShiftFlag.
#pragma once
#include "platform/win32/win.h"

// Installs the hook for the owner's thread for its lifetime.
class MenuHook {
public:
    explicit MenuHook(HWND owner);
    ~MenuHook();
    MenuHook(const MenuHook&) = delete;
    MenuHook& operator=(const MenuHook&) = delete;
};
