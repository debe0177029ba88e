// The resolution a window is shown at, as the system reports it to a
// program that does not declare itself aware of resolutions.
#include "platform/win32/dpi.h"

#include "platform/win32/scoped_gui.h"

int windowDpi(HWND window) {
    win::ScopedWindowDC dc(window);
    if (!dc) return 96;
    const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}
