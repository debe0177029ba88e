// The "cancel-download" command: waits for the program's download progress
// window, reads it, and presses its Cancel button with the mouse as a
// person would.
#include <string>
#include <vector>

#include "tests/e2e/driver/commands.h"
#include "tests/e2e/driver/menu_windows.h"
#include "tests/e2e/driver/remote.h"

namespace driver {

namespace {

// The button of the window that reads `text`.
HWND buttonOf(HWND window, const char* text) {
    return FindWindowExA(window, nullptr, "Button", text);
}

bool clickAt(HWND control) {
    RECT rect{};
    if (!GetWindowRect(control, &rect)) return false;
    const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    return sendMouse(0, x, y) && sendMouse(MOUSEEVENTF_LEFTDOWN, x, y) &&
           sendMouse(MOUSEEVENTF_LEFTUP, x, y);
}

}  // namespace

int cancelDownloadCommand(const Options& options) {
    const std::string className = options.get("class");
    Child child;
    if (className.empty() || !startProgram(options, child)) return 2;
    const DWORD started = GetTickCount();
    const DWORD deadline = deadlineAfter(options.number("timeout", 20000));
    const DWORD after = static_cast<DWORD>(options.number("after", 500));
    const bool killIt = options.number("kill", 0) == 1;
    Report report;
    HWND progress = nullptr;
    DWORD shownAt = 0;
    long long clickedAt = -1;
    bool ended = false;
    while (!(ended = child.watch(GetTickCount() + 20, true))) {
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
        if (clickedAt >= 0) continue;
        if (!progress) {
            std::vector<HWND> found = windowsOf(child.processId(), className.c_str());
            if (found.empty()) continue;
            progress = found.front();
            shownAt = GetTickCount();
            report.set("progress.shown", static_cast<long long>(shownAt - started));
        }
        if (GetTickCount() - shownAt < after) continue;
        RECT frame{};
        GetWindowRect(progress, &frame);
        report.set("progress.width", frame.right - frame.left);
        report.set("progress.height", frame.bottom - frame.top);
        RECT client{};
        GetClientRect(progress, &client);
        report.set("progress.client_width", client.right);
        report.set("progress.client_height", client.bottom);
        HWND bar = FindWindowExA(progress, nullptr, PROGRESS_CLASSA, nullptr);
        RECT barRect{};
        if (bar && GetWindowRect(bar, &barRect)) {
            report.set("progress.bar_width", barRect.right - barRect.left);
            report.set("progress.bar_height", barRect.bottom - barRect.top);
        }
        report.setBytes("progress.title", windowText(progress));
        report.setBytes("progress.text", staticTexts(progress));
        HWND cancel = buttonOf(progress, "キャンセル");
        report.set("progress.button", cancel ? 1 : 0);
        if (killIt) {
            // As the task manager, a log-off or a crash would end it.
            child.kill();
            report.set("progress.killed", static_cast<long long>(GetTickCount() - started));
            clickedAt = GetTickCount() - started;
            ended = true;
            break;
        }
        if (!cancel || !clickAt(cancel)) break;
        clickedAt = GetTickCount() - started;
        report.set("progress.clicked", clickedAt);
    }
    if (!ended) child.kill();
    if (ended && !killIt) report.set("ended_at", static_cast<long long>(GetTickCount() - started));
    child.addTo(report);
    report.write(options.get("out"));
    return ended && clickedAt >= 0 ? 0 : 1;
}

}  // namespace driver
