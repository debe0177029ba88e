// The yardstick of the menu benchmark: the least a Windows program does to
// show a popup menu. It creates a hidden window and tracks a three-item
// popup at a fixed point; scripts/bench-menu.sh times the menu's
// appearance against Tavrin's.
#include "platform/win32/win.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MenuBaseline";
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "baseline", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "&One");
    AppendMenuA(menu, MF_STRING, 2, "&Two");
    AppendMenuA(menu, MF_STRING, 3, "T&hree");
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 200, 150, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    DestroyWindow(window);
    return 0;
}
