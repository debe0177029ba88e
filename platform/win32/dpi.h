// The resolution a window is shown at.
#pragma once
#include "platform/win32/win.h"

// Dots per inch of the display that shows `window` (the screen's when it
// is null).
int windowDpi(HWND window);
