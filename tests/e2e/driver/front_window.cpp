// A window in front while Tavrin starts, as a clicked link's program has:
// "show-window" shows one and keeps it until it is closed; "run" with
// "--window-exe" starts a copy of the driver doing that first.
#include <cstdio>

#include "tests/e2e/driver/commands.h"
#include "tests/e2e/driver/front_window.h"

namespace driver {

namespace {

LRESULT CALLBACK frontProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Found {
    DWORD process;
    HWND window = nullptr;
};

BOOL CALLBACK visibleOf(HWND window, LPARAM context) {
    Found& found = *reinterpret_cast<Found*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != found.process || !IsWindowVisible(window)) return TRUE;
    found.window = window;
    return FALSE;
}

}  // namespace

int showWindowCommand(const Options& options) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = frontProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "tavrin_driver_front";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 2;
    SetForegroundWindow(window);
    // Closed by the driver that started it, or gone after the time-out.
    SetTimer(window, 1, static_cast<UINT>(options.number("timeout", 30000)), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) DestroyWindow(window);
        DispatchMessageA(&msg);
    }
    return 0;
}

bool FrontWindow::start(const std::string& exe) {
    if (!helper_.start(exe, "show-window")) return false;
    const DWORD deadline = deadlineAfter(5000);
    while (static_cast<LONG>(GetTickCount() - deadline) < 0) {
        Found found{helper_.processId()};
        EnumWindows(visibleOf, reinterpret_cast<LPARAM>(&found));
        window_ = found.window;
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        if (window_ && process == helper_.processId()) return true;
        if (window_) SetForegroundWindow(window_);
        Sleep(20);
    }
    return false;
}

FrontWindow::~FrontWindow() {
    if (!helper_.process()) return;
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(helper_.process(), 3000) != WAIT_OBJECT_0) helper_.kill();
}

}  // namespace driver
