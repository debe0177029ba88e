// Activation of a window despite the system's foreground lock.
#pragma once
#include "platform/win32/win.h"

void bringToFront(HWND window);
