// A second copy hands its input to the running copy and ends; while no
// running copy can take it, it waits for one, or for the running copy to
// end and leave the work to it.
#pragma once
#include "platform/win32/win.h"

// After the [system] settings were loaded: choose the payload; then hand it
// to a visible running copy, or take over as the first copy when the
// running one has ended, or else wait (handOffTimer).
void runSecondCopy(HWND window);

// One more look of a waiting second copy (handOffTimer): hand over, take
// over, give up with a box once the wait is over, or wait on.
void continueHandOff(HWND window);

// The visible main window of a running copy of this executable, or null.
HWND findRunningCopy();
