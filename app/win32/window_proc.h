// The main window's procedure: the hub every message of the program passes.
#pragma once
#include "platform/win32/win.h"

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
