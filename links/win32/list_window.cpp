// Turning the hidden main window into the list window.
#include "links/win32/list_window.h"

#include "common/app_state.h"
#include "links/list_caption.h"
#include "links/list_menu_items.h"
#include "links/list_state.h"
#include "links/win32/list_menus.h"
#include "platform/win32/ui_libraries.h"
#include "settings/settings.h"

ListWindowParts listWindowParts;

namespace {

// Horizontally centred; its centre at a third of the screen's height.
void placeWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = runState.screenWidth / 2 - width / 2;
    int y = runState.maximizedHeight / 3 - height / 2;
    if (y < 0) y = 50;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON loadProgramIcon() {
    const int selected = listPrograms.selectedListProgram;
    if (selected >= 0 && selected < listPrograms.listProgramCount) {
        SHFILEINFOA info{};
        if (SHGetFileInfoA(listPrograms.rows[selected].programFile.c_str(), 0, &info, sizeof info,
                           SHGFI_ICON | SHGFI_SMALLICON) &&
            info.hIcon)
            return info.hIcon;
        return nullptr;
    }
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MYICON", IMAGE_ICON,
                                         settings.smallIconWidth, settings.smallIconHeight, 0));
}

}  // namespace

bool createListWindow(HWND window) {
    listWindowParts.window = window;
    placeWindow(window);
    showProgramIcon(window);

    platform::initCommonControls(ICC_LISTVIEW_CLASSES);
    HWND listView = createListView(window);
    if (!listView) return false;
    listWindowParts.rows.attach(listView);

    listWindowParts.menuBar = buildListMenuBar();
    SetMenu(window, listWindowParts.menuBar.get());
    refreshListMenuChecks(false);

    linkSource.listTitle = " ";
    setListCaption(listCaption());
    ShowWindow(window, SW_SHOWNORMAL);
    fitListView(window);
    return true;
}

void fitListView(HWND window) {
    HWND listView = listWindowParts.rows.control();
    if (!listView) return;
    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(listView, 0, 0, client.right, client.bottom, TRUE);
}

void showProgramIcon(HWND window) {
    HICON icon = loadProgramIcon();
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    // The old icon goes only once the window no longer shows it.
    listWindowParts.icon.reset(icon);
}

void refreshListMenuChecks(bool clipboardWatch) {
    if (listWindowParts.menuBar.get())
        applyMenuMarks(listWindowParts.menuBar.get(), listMenuMarks(clipboardWatch));
}

void setListCaption(const std::string& caption) {
    if (listWindowParts.window) SetWindowTextA(listWindowParts.window, caption.c_str());
}

void releaseListWindowParts(HWND window) {
    if (listWindowParts.icon.get()) {
        SendMessageA(window, WM_SETICON, ICON_SMALL, 0);
        listWindowParts.icon.reset();
    }
    if (listWindowParts.menuBar.get()) {
        SetMenu(window, nullptr);
        listWindowParts.menuBar.reset();
    }
}
