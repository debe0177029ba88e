// The list window's Win32 side as the portable commands see it.
#include "app/win32/list_window_glue.h"

#include <utility>

#include "app/list_window_port.h"
#include "app/recognize.h"
#include "app/win32/bring_to_front.h"
#include "app/win32/drop_target.h"
#include "app/win32/queued_input.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "links/list_caption.h"
#include "links/list_menu_items.h"
#include "links/list_rows_ops.h"
#include "links/win32/list_dialogs.h"
#include "links/win32/list_menus.h"
#include "links/win32/list_window.h"
#include "menu/menu_state.h"
#include "platform/platform.h"

namespace {

HWND mainWindow() { return listWindowParts.window; }

void joinClipboardChain(HWND window) {
    // Watching starts from what the clipboard holds now: the notification
    // that joining brings is no change, and the user's clipboard is left
    // as it is.
    windowState.clipboardSequence = GetClipboardSequenceNumber();
    windowState.clipboardWatch = 1;
    windowState.nextViewer = SetClipboardViewer(window);
}

void leaveClipboardChain(HWND window) {
    windowState.clipboardWatch = 0;
    ChangeClipboardChain(window, windowState.nextViewer);
    windowState.nextViewer = nullptr;
}

int trackRowMenu(HWND window, int atCentre) {
    win::ScopedMenu menu(buildPopup(rowMenuItems()));
    if (!menu.get()) return 0;
    applyMenuMarks(menu.get(), listMenuMarks(windowState.clipboardWatch == 1));
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    POINT at{};
    if (atCentre) {
        RECT rect{};
        GetWindowRect(window, &rect);
        at.x = rect.left + (rect.right - rect.left) / 2;
        at.y = rect.top + (rect.bottom - rect.top) / 2;
        flags |= TPM_CENTERALIGN | TPM_VCENTERALIGN;
    } else {
        GetCursorPos(&at);
    }
    menuState.lastMenuPosition = {static_cast<int>(at.x), static_cast<int>(at.y), flags};
    menuState.choiceShiftFlag = 0;
    menuState.menuOpen = 1;
    const int chosen = static_cast<int>(TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, window, nullptr));
    menu.reset();
    menuState.menuOpen = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) menuState.choiceShiftFlag = 1;
    return chosen;
}

class Win32ListWindow final : public ListWindowPort {
public:
    ListRows& rows() override { return listWindowParts.rows; }
    void refreshMenuChecks() override { refreshListMenuChecks(windowState.clipboardWatch == 1); }
    std::string chooseLinkFile(int linkMode) override {
        return ::chooseLinkFile(mainWindow(), linkMode);
    }
    std::string chooseShortcutFolder(int includeSubfolders) override {
        return ::chooseShortcutFolder(mainWindow(), includeSubfolders);
    }
    int saveList(int withTitles) override {
        return ::saveList(mainWindow(), listWindowParts.rows, withTitles);
    }
    bool clipboardWatch() override { return windowState.clipboardWatch == 1; }
    void setClipboardWatch(bool on) override {
        if (on == (windowState.clipboardWatch == 1)) return;
        if (on) joinClipboardChain(mainWindow());
        else leaveClipboardChain(mainWindow());
    }
    void setTopmost(bool on) override {
        SetWindowPos(mainWindow(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    }
    void showProgramIcon() override { ::showProgramIcon(mainWindow()); }
    void setCaption(const std::string& caption) override { setListCaption(caption); }
    int trackRowMenu(int atCentre) override { return ::trackRowMenu(mainWindow(), atCentre); }
};

Win32ListWindow win32ListWindow;

}  // namespace

void installWin32ListWindow() { installListWindowPort(&win32ListWindow); }

namespace {

// Once, before the window first shows: a hidden window takes no drops.
bool acceptDrops(HWND window) {
    if (runState.dropRegistered == 1) return true;
    // Text before files, and text in its wide form before the code page's.
    const UINT formats[] = {CF_UNICODETEXT, CF_TEXT, CF_HDROP};
    if (!registerDropTarget(window, dropNotifyMessage, formats, 3)) {
        platform::os().messageBox(window, "ドラッグ＆ドロップの登録に失敗しました。", "エラー",
                                  platform::mbOk | platform::mbIconError);
        return false;
    }
    runState.dropRegistered = 1;
    return true;
}

}  // namespace

bool openListWindow(HWND window) { return acceptDrops(window) && createListWindow(window); }

void refreshListWindow(int captionOnly) {
    Win32ListRows& rows = listWindowParts.rows;
    if (!rows.control()) return;
    if (captionOnly != 1) {
        fillRows(rows);
        if (rows.count() > 0) rows.select(0);
        bringToFront(mainWindow());
    }
    setListCaption(listCaption());
    if (captionOnly != 1) SetFocus(rows.control());
}

void onDrawClipboard(HWND window, WPARAM wParam, LPARAM lParam) {
    if (windowState.nextViewer) SendMessageA(windowState.nextViewer, WM_DRAWCLIPBOARD, wParam, lParam);
    if (windowState.clipboardWatch != 1) return;
    const DWORD sequence = GetClipboardSequenceNumber();
    if (sequence == windowState.clipboardSequence) return;
    windowState.clipboardSequence = sequence;
    // Taken now, while it is the text that changed, and routed once this
    // notice (which the program that changed the clipboard waits for) has
    // returned.
    QueuedInput input;
    input.kind = InputKind::clipboard;
    input.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 0;
    if (!takeClipboardText(window, input.text)) return;
    queueInputAndWake(window, std::move(input));
}
