// The window's timers. A timer message carries nothing but its number, and
// any program can post one: only a timer that was set, and has not fired
// since, acts.
#pragma once
#include "platform/win32/win.h"

// Sets the timer and marks it armed.
void armTimer(HWND window, UINT_PTR id, UINT milliseconds);
// Kills the timer; it no longer acts.
void disarmTimer(HWND window, UINT_PTR id);
bool timerArmed(UINT_PTR id);
