// The thread mouse hook of an open menu. It only watches: every message is
// passed on.
#include "menu/win32/menu_hook.h"

#include "menu/menu_state.h"
#include "menu/win32/menu_resources.h"

namespace {

LRESULT CALLBACK menuMouseHook(int code, WPARAM message, LPARAM data) {
    if (code >= 0 && message == WM_RBUTTONDOWN) menuState.choiceShiftFlag = 1;
    return CallNextHookEx(menuResources.menuHook, code, message, data);
}

}  // namespace

MenuHook::MenuHook(HWND owner) {
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    menuResources.menuHook =
        SetWindowsHookExA(WH_MOUSE, menuMouseHook, GetModuleHandleA(nullptr), thread);
}

MenuHook::~MenuHook() {
    if (menuResources.menuHook) UnhookWindowsHookEx(menuResources.menuHook);
    menuResources.menuHook = nullptr;
}
