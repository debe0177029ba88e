// The "time-menu" command: how soon after its start a program shows its
// popup menu. The time runs from CreateProcess to the first visible menu
// window, found by polling every millisecond.
#include <cstdio>

#include "tests/e2e/driver/menu_commands.h"
#include "tests/e2e/driver/menu_windows.h"

namespace driver {

namespace {

// Milliseconds until the menu showed, or -1.
double timeOneRun(const Options& options, int timeoutMs) {
    LARGE_INTEGER frequency{}, started{}, now{};
    QueryPerformanceFrequency(&frequency);
    Child child;
    child.keepMenus(true);
    QueryPerformanceCounter(&started);
    if (!startProgram(options, child)) return -1;
    const DWORD deadline = deadlineAfter(timeoutMs);
    double ms = -1;
    while (static_cast<LONG>(GetTickCount() - deadline) < 0) {
        const std::vector<HWND> menus = visibleMenuWindows(child.processId());
        if (!menus.empty()) {
            QueryPerformanceCounter(&now);
            ms = 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) /
                 static_cast<double>(frequency.QuadPart);
            // Dismiss it as a person would with Escape.
            PostMessageA(menus.front(), WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        }
        if (WaitForSingleObject(child.process(), 1) == WAIT_OBJECT_0) break;
    }
    if (!child.watch(deadlineAfter(5000), true)) child.kill();
    return ms;
}

}  // namespace

int timeMenuCommand(const Options& options) {
    const int runs = options.number("runs", 10);
    const int timeoutMs = options.number("timeout", 10000);
    Report report;
    bool all = true;
    report.set("runs", runs);
    for (int i = 0; i < runs; ++i) {
        const double ms = timeOneRun(options, timeoutMs);
        all = all && ms >= 0;
        report.set("run." + std::to_string(i + 1) + ".us", static_cast<long long>(ms * 1000));
    }
    report.write(options.get("out"));
    return all ? 0 : 1;
}

}  // namespace driver
