// Turning the hidden main window into the list window.
#include "links/win32/list_window.h"

#include "common/app_state.h"
#include "links/list_caption.h"
#include "links/list_layout.h"
#include "links/list_menu_items.h"
#include "links/list_state.h"
#include "links/win32/list_menus.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui_libraries.h"
#include "settings/settings.h"

ListWindowParts listWindowParts;

namespace {

// Sized for the display that holds the window's centre.
void placeWindow(HWND window) {
    const POINT centre{runState.screenWidth / 2, runState.maximizedHeight / 3};
    const int dpi = dpiAtPoint(centre);
    const ListWindowPlacement p =
        listWindowPlacement(runState.screenWidth, runState.maximizedHeight, dpi);
    // Before the move: a window that comes onto that display with it is
    // told of the resolution it is already laid out for.
    listWindowParts.dpi = dpi;
    SetWindowPos(window, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON loadProgramIcon(int dpi) {
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
                                         systemMetricForDpi(SM_CXSMICON, dpi),
                                         systemMetricForDpi(SM_CYSMICON, dpi), 0));
}

// The list view takes the system's icon-title font, made for the system's
// resolution; on a display of another one it is given that font at the
// display's size.
void fitListFont(HWND listView, int dpi) {
    if (dpi == systemDpi() && !listWindowParts.font.get()) return;
    LOGFONTW base{};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof base, &base, 0)) return;
    HFONT font = createFontForDpi(base, dpi);
    if (!font) return;
    SendMessageA(listView, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    listWindowParts.font.reset(font);
}

}  // namespace

bool createListWindow(HWND window) {
    listWindowParts.window = window;
    placeWindow(window);
    showProgramIcon(window);

    platform::initCommonControls(ICC_LISTVIEW_CLASSES);
    HWND listView = createListView(window, listWindowParts.dpi);
    if (!listView) return false;
    listWindowParts.rows.attach(listView);
    fitListFont(listView, listWindowParts.dpi);

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

void onListDpiChanged(HWND window, int dpi, const RECT& suggested) {
    // The system's suggestion scales the window's size from the old
    // resolution; a window already laid out for the new one keeps its own.
    if (dpi <= 0 || window != listWindowParts.window || dpi == listWindowParts.dpi) return;
    const int before = listWindowParts.dpi;
    listWindowParts.dpi = dpi;
    if (HWND listView = listWindowParts.rows.control()) {
        rescaleListColumns(listView, before, dpi);
        fitListFont(listView, dpi);
    }
    showProgramIcon(window);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void showProgramIcon(HWND window) {
    HICON icon = loadProgramIcon(listWindowParts.dpi);
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
