// The main window's procedure. Handled messages answer 0 unless noted;
// everything else goes to DefWindowProcA.
#include "app/win32/window_proc.h"

#include "app/routing.h"
#include "app/win32/creation.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "menu/menu_state.h"
#include "menu/win32/menu_build.h"

namespace {

// Opens a menu with its first item highlighted.
void pressDownKey() {
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
}

void onTimer(HWND window, UINT_PTR id) {
    if (id != startupTimer) return;
    KillTimer(window, startupTimer);
    windowState.previousForeground = GetForegroundWindow();
    startupAction(window, runState.shiftFlag, runState.ctrlFlag);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        runCreationStep(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        closeMainWindow(window);
        return 0;
    case WM_SIZE:
        if (windowState.listView) {
            RECT client;
            GetClientRect(window, &client);
            MoveWindow(windowState.listView, 0, 0, client.right, client.bottom, TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        if (runState.listWindowActive == 1 && windowState.listView) SetFocus(windowState.listView);
        return 0;
    case WM_KILLFOCUS:
        // A click outside a tracked popup menu ends it: losing the focus to
        // another program thus closes the association menu.
        if (menuState.menuOpen != 0 && runState.listWindowActive != 1) {
            windowState.swallowClick = 1;
            PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
        }
        return 0;
    case WM_LBUTTONDOWN:
        if (windowState.swallowClick == 1) {
            windowState.swallowClick = 0;
            return 1;
        }
        return 0;
    case WM_COPYDATA:
        // A second copy waits for this answer, which is 1 whether or not
        // the data was used.
        if (auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam); data && data->lpData) {
            const char* bytes = static_cast<const char*>(data->lpData);
            std::size_t length = 0;
            while (length < data->cbData && bytes[length] != '\0') ++length;
            receiveHandOff(window, static_cast<unsigned>(data->dwData),
                           std::string_view(bytes, length));
        }
        return 1;
    case WM_TIMER:
        onTimer(window, wParam);
        return 0;
    case WM_INITMENU:
        pressDownKey();
        return 0;
    case WM_INITMENUPOPUP:
        // A group's submenu is filled as it opens.
        if (windowState.lastMenu) {
            fillGroupOnOpen(windowState.lastMenu, reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
            if (windowState.menuSelectedByMouse == 1) pressDownKey();
        }
        return 0;
    case WM_MENUSELECT:
        windowState.lastMenu = reinterpret_cast<HMENU>(lParam);
        windowState.menuSelectedByMouse = (HIWORD(wParam) & MF_MOUSESELECT) ? 1 : 0;
        return 0;
    case WM_DRAWCLIPBOARD:
        onDrawClipboard(window);
        return 0;
    case WM_CHANGECBCHAIN:
        onChangeClipboardChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case dropNotifyMessage:
        onDropNotice(window, wParam, reinterpret_cast<DropNotice*>(lParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
