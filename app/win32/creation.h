// The creation step of the main window: first or second copy.
#pragma once
#include "platform/win32/win.h"

// Runs inside WM_CREATE. Every failure ends with the window destroyed, so
// the window's creation then fails as a whole.
void runCreationStep(HWND window);
