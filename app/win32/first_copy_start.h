// A first copy's start: settings (switches first), OLE, and the start-up
// action queued for the message loop. Run by the creation step, and by a
// second copy that takes over once the running copy has ended.
#pragma once
#include "platform/win32/win.h"

// Every failure closes the window.
void startFirstCopy(HWND window);
