// Handlers of the main window's messages that need more than a line.
#pragma once
#include "app/win32/drop_target.h"
#include "platform/win32/win.h"

// WM_CLOSE: leave OLE and the viewer chain, give back the list window's
// menus and icon, then destroy the window.
void closeMainWindow(HWND window);
// dropNotifyMessage: the window's answer to a drag.
void onDropNotice(HWND window, WPARAM code, DropNotice* notice);
// WM_CHANGECBCHAIN: keep the viewer chain intact.
void onChangeClipboardChain(HWND removed, HWND next);
