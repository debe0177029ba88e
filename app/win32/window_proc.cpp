// The main window's procedure. Handled messages answer 0 unless noted;
// everything else goes to DefWindowProcA.
#include "app/win32/window_proc.h"

#include "app/handoff.h"
#include "app/list_commands.h"
#include "app/routing.h"
#include "app/win32/creation.h"
#include "app/win32/list_window_glue.h"
#include "app/win32/second_copy.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "links/win32/list_view.h"
#include "links/win32/list_window.h"
#include "menu/menu_state.h"
#include "menu/win32/menu_build.h"
#include "platform/win32/dpi.h"

namespace {

// Opens a menu with its first item highlighted.
void pressDownKey() {
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
}

// Once only: the message is private, but any program can post it.
void onStartupMessage(HWND window) {
    if (!windowState.startupPending) return;
    windowState.startupPending = false;
    windowState.previousForeground = GetForegroundWindow();
    startupAction(window, runState.shiftFlag, runState.ctrlFlag);
}

void onTimer(HWND window, UINT_PTR id) {
    if (id == listMenuTimer) {
        KillTimer(window, listMenuTimer);
        showRowMenu(window, 1);
    } else if (id == handOffTimer) {
        continueHandOff(window);
    }
}

// The list view's right click, Enter and double click. Every other
// notification is answered with 0, so an edited title is not taken.
void onListNotify(HWND window, const NMHDR& header) {
    if (header.idFrom != listViewControlId) return;
    switch (header.code) {
    case NM_RCLICK:
        showRowMenu(window, 0);
        break;
    case NM_RETURN:
        // With Shift the row menu opens once this notification has
        // returned.
        if (GetKeyState(VK_SHIFT) & 0x8000) SetTimer(window, listMenuTimer, 0, nullptr);
        else openSelectedRow(window);
        break;
    case NM_DBLCLK:
        openSelectedRow(window);
        break;
    default:
        break;
    }
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
        fitListView(window);
        return 0;
    case dpiChangedMessage:
        if (lParam)
            onListDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETFOCUS:
        if (runState.listWindowActive == 1 && listWindowParts.rows.control())
            SetFocus(listWindowParts.rows.control());
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
            const HandOffRecord record = readHandOffRecord(
                std::string_view(static_cast<const char*>(data->lpData), data->cbData));
            receiveHandOff(window, static_cast<unsigned>(data->dwData), record.payload,
                           record.source);
        }
        return 1;
    case WM_NOTIFY:
        if (lParam) onListNotify(window, *reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_COMMAND:
        onListCommand(window, LOWORD(wParam));
        return 0;
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
        onDrawClipboard(window, wParam, lParam);
        return 0;
    case WM_CHANGECBCHAIN:
        onChangeClipboardChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case dropNotifyMessage:
        if (DropNotice* notice = dropNoticeInFlight();
            notice && lParam == reinterpret_cast<LPARAM>(notice))
            onDropNotice(window, wParam, notice);
        return 0;
    case startupMessage:
        onStartupMessage(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
