// The creation step of the main window: first or second copy.
#pragma once
#include "platform/win32/win.h"

// Runs inside WM_CREATE. Every failure ends with the window destroyed, so
// the window's creation then fails as a whole.
void runCreationStep(HWND window);

// A first copy's start: settings (switches first), OLE, and the start-up
// action posted to the window. Also run by a second copy that takes over
// once the running copy has ended. Every failure closes the window.
void startFirstCopy(HWND window);
