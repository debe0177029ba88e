// The resolution windows show at, and the system's sizes for one. Systems
// that know a resolution per display give it per display; the functions
// for that are looked up at run time. Without them every window shows at
// the system's one resolution, which the older calls report.
#pragma once
#include "platform/win32/win.h"

// WM_DPICHANGED: a window moved to a display of another resolution. The
// new resolution is in the low word of wParam; lParam points to the
// rectangle the system suggests for the window there.
constexpr UINT dpiChangedMessage = 0x02E0;

// The resolution every window shows at where displays have no resolution
// of their own (the screen's LOGPIXELSY).
int systemDpi();
// The resolution of the display that holds `point`, or of the nearest one.
int dpiAtPoint(POINT point);
// GetSystemMetrics for a display of `dpi`.
int systemMetricForDpi(int index, int dpi);
// AdjustWindowRectEx for a window shown at `dpi`.
void adjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// A font made from a system font described at the system's resolution,
// its height scaled to `dpi`; null when it cannot be made. The face name is
// wide, as the system gives it: in its ANSI form the system would read it
// in its own code page, whatever the program's.
HFONT createFontForDpi(LOGFONTW font, int dpi);
