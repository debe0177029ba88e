// The list window: the main window given a list view, a menu bar and the
// selected program's icon. Its parts live in one record from creation
// until the window closes.
#pragma once
#include <string>

#include "common/dpi.h"
#include "links/win32/list_view.h"
#include "platform/win32/scoped_gui.h"
#include "platform/win32/win.h"

struct ListWindowParts {
    HWND window = nullptr;
    Win32ListRows rows;     // the list view; no control before creation
    win::ScopedMenu menuBar;
    win::ScopedIcon icon;   // the small icon shown
    int dpi = defaultDpi;   // the resolution the window is laid out for
    // The list's font where the window shows at another resolution than
    // the system's; null while the list view keeps its own.
    win::ScopedFont font;
};

extern ListWindowParts listWindowParts;

// Moves the window to its place, gives it the icon, the list view and the
// menus, and shows it. False when the list view cannot be created.
bool createListWindow(HWND window);
// Fits the list view to the window's client area.
void fitListView(HWND window);
// The window moved to a display of resolution `dpi`: it takes the
// rectangle the system suggests there, and its columns, font and icon
// follow.
void onListDpiChanged(HWND window, int dpi, const RECT& suggested);
// Shows the selected list program's small icon (the program's own for the
// association menu).
void showProgramIcon(HWND window);
// Applies the check marks to the menu bar.
void refreshListMenuChecks(bool clipboardWatch);
// The caption.
void setListCaption(const std::string& caption);
// Takes the bar off the window and destroys it with its popups and the
// icon; the close handling calls this before destroying the window.
void releaseListWindowParts(HWND window);
