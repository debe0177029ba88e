// Finding a program's popup menu windows, and the pointer and number
// helpers of menu cases.
#pragma once
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace driver {

// The visible top-level windows of class "#32768" that belong to the
// process, in Z order.
std::vector<HWND> visibleMenuWindows(DWORD processId);

// Sends a mouse event at (x, y) with SendInput (flags 0: a move). Under
// Wine this moves the X pointer too; SetCursorPos from another process
// does not reach what the program's GetCursorPos reads.
bool sendMouse(DWORD flags, int x, int y);

// Parses "a,b" or "a,b,c,d" into numbers; false when the count differs.
bool parseNumbers(const std::string& text, std::vector<int>& out, std::size_t count);

}  // namespace driver
