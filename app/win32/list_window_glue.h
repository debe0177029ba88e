// The Win32 list window behind the portable list commands: the list view,
// menus, dialogs and icon of links/win32, and the main window's part in
// the clipboard-viewer chain.
#pragma once
#include "platform/win32/win.h"

// Makes the real window the one the list commands use.
void installWin32ListWindow();

// Gives the main window its drop target, the list view and menus, and
// shows it. False, the window still hidden, when the drop target cannot be
// registered (after a box that says so) or the list view cannot be made:
// the program then ends as after any start-up that opened no list.
bool openListWindow(HWND window);
// Rebuilds the rows (captionOnly 0), brings the window to the front, sets
// the caption and focuses the list; with captionOnly 1 only the caption.
void refreshListWindow(int captionOnly);

// WM_DRAWCLIPBOARD: forwards along the chain, then routes a clipboard
// change while watching. The text that was there when watching began is
// not taken as a change.
void onDrawClipboard(HWND window, WPARAM wParam, LPARAM lParam);
