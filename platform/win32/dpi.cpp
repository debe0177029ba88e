// Resolutions and sizes per display where the system has them, the
// system's one resolution where it has not.
#include "platform/win32/dpi.h"

#include <string>

#include "common/dpi.h"
#include "platform/win32/library_search.h"
#include "platform/win32/scoped_gui.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename Fn>
Fn function(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The functions this system has, looked up once. The library of the
// display function stays loaded for the rest of the run.
struct DpiFunctions {
    GetDpiForWindowFn dpiForWindow = nullptr;
    GetSystemMetricsForDpiFn metricsForDpi = nullptr;
    AdjustWindowRectExForDpiFn adjustForDpi = nullptr;
    GetDpiForMonitorFn dpiForMonitor = nullptr;

    DpiFunctions() {
        HMODULE user = GetModuleHandleA("user32.dll");
        dpiForWindow = function<GetDpiForWindowFn>(user, "GetDpiForWindow");
        metricsForDpi = function<GetSystemMetricsForDpiFn>(user, "GetSystemMetricsForDpi");
        adjustForDpi = function<AdjustWindowRectExForDpiFn>(user, "AdjustWindowRectExForDpi");
        // Displays have resolutions of their own only where windows have.
        if (!dpiForWindow) return;
        char folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryA(folder, sizeof folder);
        if (length == 0 || length >= sizeof folder) return;
        HMODULE shell = platform::loadLibraryByFullPath(std::string(folder) + "\\shcore.dll");
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

int windowDpi(HWND window) {
    if (window && functions().dpiForWindow) {
        const UINT dpi = functions().dpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return systemDpi();
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
    if (functions().adjustForDpi &&
        functions().adjustForDpi(&rect, style, menu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi)))
        return;
    AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, exStyle);
}

HFONT createFontForDpi(LOGFONTA font, int dpi) {
    font.lfHeight = rescaleForDpi(font.lfHeight, systemDpi(), dpi);
    return CreateFontIndirectA(&font);
}
