// Resolutions and sizes per display where the system has them, the
// system's one resolution where it has not.
#include "platform/win32/dpi.h"

#include "common/dpi.h"
#include "platform/win32/library_search.h"
#include "platform/win32/scoped_gui.h"

namespace {

using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename Fn>
Fn function(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The functions this system has (Windows 8.1 and 10 added them), looked
// up once. The library of the display function stays loaded for the rest
// of the run. For a program laid out for the system's resolution they
// report that resolution, as the older calls do.
struct DpiFunctions {
    GetSystemMetricsForDpiFn metricsForDpi = nullptr;
    AdjustWindowRectExForDpiFn adjustForDpi = nullptr;
    GetDpiForMonitorFn dpiForMonitor = nullptr;

    DpiFunctions() {
        HMODULE user = GetModuleHandleA("user32.dll");
        metricsForDpi = function<GetSystemMetricsForDpiFn>(user, "GetSystemMetricsForDpi");
        adjustForDpi = function<AdjustWindowRectExForDpiFn>(user, "AdjustWindowRectExForDpi");
        HMODULE shell = platform::loadSystemLibrary("shcore.dll");
        dpiForMonitor = function<GetDpiForMonitorFn>(shell, "GetDpiForMonitor");
    }
};

const DpiFunctions& functions() {
    static const DpiFunctions found;
    return found;
}

}  // namespace

int systemDpi() {
    win::ScopedWindowDC dc(nullptr);
    if (!dc) return defaultDpi;
    const int dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : defaultDpi;
}

int dpiAtPoint(POINT point) {
    if (functions().dpiForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        if (monitor && SUCCEEDED(functions().dpiForMonitor(monitor, effectiveDpi, &x, &y)) && y > 0)
            return static_cast<int>(y);
    }
    return systemDpi();
}

int systemMetricForDpi(int index, int dpi) {
    if (functions().metricsForDpi) return functions().metricsForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void adjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    const BOOL hasMenu = menu ? TRUE : FALSE;
    if (functions().adjustForDpi &&
        functions().adjustForDpi(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        return;
    AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
}

HFONT createFontForDpi(LOGFONTW font, int dpi) {
    font.lfHeight = rescaleForDpi(font.lfHeight, systemDpi(), dpi);
    return CreateFontIndirectW(&font);
}
