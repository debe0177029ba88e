// The main window's procedure. Handled messages answer 0 unless noted;
// everything else goes to DefWindowProcA.
#include "app/win32/window_proc.h"

#include <utility>

#include "app/handoff.h"
#include "app/input_queue.h"
#include "app/list_commands.h"
#include "app/win32/armed_timers.h"
#include "app/win32/creation.h"
#include "app/win32/list_window_glue.h"
#include "app/win32/queued_input.h"
#include "app/win32/second_copy.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "links/win32/list_view.h"
#include "links/win32/list_window.h"
#include "menu/menu_state.h"
#include "menu/win32/menu_build.h"
#include "platform/win32/dpi.h"
#include "platform/win32/own_memory.h"

namespace {

// Opens a menu with its first item highlighted.
void pressDownKey() {
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
}

// Only a timer that was set and has not fired since acts. One that comes
// while work runs stays armed: it fires again once the work is over.
void onTimer(HWND window, UINT_PTR id) {
    if (!timerArmed(id) || workInProgress()) return;
    disarmTimer(window, id);
    WorkScope work;
    if (id == listMenuTimer) showRowMenu(window, 1);
    else if (id == handOffTimer) continueHandOff(window);
}

// The list view's right click, Enter and double click. Every other
// notification is answered with 0, so an edited title is not taken. Only
// the list view's own notices count: another program can send the message
// with any address, and the list view never notifies from another thread.
void onListNotify(HWND window, LPARAM address) {
    NMHDR header{};
    if (InSendMessage() || !win::copyOwnRecord(address, header)) return;
    HWND listView = listWindowParts.rows.control();
    if (!listView || header.hwndFrom != listView || header.idFrom != listViewControlId) return;
    if (header.code != NM_RCLICK && header.code != NM_RETURN && header.code != NM_DBLCLK) return;
    // A click that comes while other work runs would start work inside it.
    if (workInProgress()) return;
    WorkScope work;
    switch (header.code) {
    case NM_RCLICK:
        showRowMenu(window, 0);
        break;
    case NM_RETURN:
        // With Shift the row menu opens once this notification has
        // returned.
        if (GetKeyState(VK_SHIFT) & 0x8000) armTimer(window, listMenuTimer, 0);
        else openSelectedRow(window);
        break;
    case NM_DBLCLK:
        openSelectedRow(window);
        break;
    default:
        break;
    }
}

// The system's notice of a new resolution, with the rectangle it suggests;
// one whose figures are no resolution's, or whose address holds no
// rectangle, is no such notice.
void onDpiChanged(HWND window, WPARAM wParam, LPARAM address) {
    RECT suggested{};
    const int dpi = LOWORD(wParam);
    if (HIWORD(wParam) != dpi || dpi < 48 || dpi > 960 || !win::copyOwnRecord(address, suggested))
        return;
    const long width = suggested.right - suggested.left, height = suggested.bottom - suggested.top;
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return;
    onListDpiChanged(window, dpi, suggested);
}

// WM_COPYDATA: the payload and the fields after it are copied and queued,
// and the sender, which waits for the answer, goes on at once.
void onCopyData(HWND window, LPARAM lParam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || !data->lpData) return;
    const HandOffRecord record =
        readHandOffRecord(std::string_view(static_cast<const char*>(data->lpData), data->cbData));
    QueuedInput input;
    input.kind = InputKind::handOff;
    input.transferCode = static_cast<unsigned>(data->dwData);
    input.text.assign(record.payload);
    input.source = record.source;
    queueInputAndWake(window, std::move(input));
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        WorkScope work;
        runCreationStep(window);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        // The program's own closes do not come this way: this one was asked
        // for by the user or another program, and waits for work to end.
        if (workInProgress()) requestCloseWhenIdle();
        else closeMainWindow(window);
        return 0;
    case WM_SIZE:
        fitListView(window);
        return 0;
    case dpiChangedMessage:
        onDpiChanged(window, wParam, lParam);
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
        // the data is used.
        onCopyData(window, lParam);
        return 1;
    case WM_NOTIFY:
        onListNotify(window, lParam);
        return 0;
    case WM_COMMAND:
        // Commands come from the list window's menu bar, which cannot be
        // used while work runs; one that comes then is another program's.
        if (!workInProgress()) {
            WorkScope work;
            onListCommand(window, LOWORD(wParam));
        }
        return 0;
    case WM_TIMER:
        // No timer of the window has a procedure of its own.
        if (lParam == 0) onTimer(window, wParam);
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
    case queuedInputMessage:
        // Only a wake-up: the queue is taken up by the program's own
        // message loop, never by a loop some other code runs (a control's
        // mouse tracking, a box), so that no input's work starts inside it.
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
