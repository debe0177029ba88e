// A second copy hands its input to the running copy and ends.
#pragma once
#include "platform/win32/win.h"

// After the [system] settings were loaded: choose the payload, release the
// mutex, send the payload to a visible running copy, close the window.
void runSecondCopy(HWND window);

// The visible main window of a running copy of this executable, or null.
HWND findRunningCopy();
