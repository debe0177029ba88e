// The "menu" command: starts the program and reports its popup menus as
// they come and go, while the test script works them through the X server.
#include <cstdio>

#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/menu_commands.h"
#include "tests/e2e/driver/menu_windows.h"

namespace driver {

namespace {

LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A visible window of our own in the foreground, standing for whatever the
// user was working in when the program started.
HWND showForegroundWindow(const std::vector<int>& r) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = plainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "TavrinDriverForeground";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "foreground", WS_POPUP | WS_BORDER, r[0], r[1],
                                  r[2] - r[0], r[3] - r[1], nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    return window;
}

class EventLog {
public:
    explicit EventLog(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
    ~EventLog() { if (file_) std::fclose(file_); }
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    bool open() const { return file_ != nullptr; }
    void line(const std::string& text) {
        std::fputs((text + "\n").c_str(), file_);
        std::fflush(file_);
    }

private:
    std::FILE* file_;
};

}  // namespace

int menuCommand(const Options& options) {
    EventLog events(options.get("events"));
    if (!options.has("events") || !events.open()) {
        std::fprintf(stderr, "needs a writable --events file\n");
        return 2;
    }
    std::vector<int> numbers;
    HWND foreground = nullptr;
    if (options.has("foreground")) {
        if (!parseNumbers(options.get("foreground"), numbers, 4)) return 2;
        foreground = showForegroundWindow(numbers);
        if (!foreground) return 2;
    }
    if (options.has("cursor")) {
        if (!parseNumbers(options.get("cursor"), numbers, 2)) return 2;
        sendMouse(0, numbers[0], numbers[1]);
    }
    if (options.has("clipboard")) {
        std::string bytes;
        if (!readBytes(options.get("clipboard"), bytes) || !putClipboardText(nullptr, bytes)) {
            std::fprintf(stderr, "cannot set the clipboard\n");
            return 2;
        }
    }

    Child child;
    child.keepMenus(true);
    if (!startProgram(options, child)) return 2;
    const DWORD deadline = deadlineAfter(options.number("timeout", 20000));
    std::vector<HWND> open;     // menu windows seen open last time
    std::vector<RECT> menus;    // every menu window seen, in order
    std::size_t messages = 0;
    bool ended = false;
    while (!ended && static_cast<LONG>(GetTickCount() - deadline) < 0) {
        ended = child.watch(GetTickCount() + 10, true);
        const std::vector<HWND> now = visibleMenuWindows(child.processId());
        for (HWND window : now) {
            bool known = false;
            for (HWND seen : open) known = known || seen == window;
            if (known) continue;
            RECT r{};
            GetWindowRect(window, &r);
            menus.push_back(r);
            char line[96];
            std::snprintf(line, sizeof line, "menu %u %ld %ld %ld %ld",
                          static_cast<unsigned>(menus.size()), r.left, r.top, r.right, r.bottom);
            events.line(line);
        }
        if (!open.empty() && now.empty())
            events.line("closed " + std::to_string(menus.size()));
        open = now;
        for (; messages < child.dialogs().size(); ++messages)
            events.line("message " + std::to_string(messages + 1));
    }
    if (!ended) child.kill();
    events.line(ended ? "exit " + std::to_string(child.exitCode()) : "timeout");

    Report report;
    child.addTo(report);
    report.set("menus", static_cast<long long>(menus.size()));
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const std::string key = "menu." + std::to_string(i + 1) + ".";
        report.set(key + "left", menus[i].left);
        report.set(key + "top", menus[i].top);
        report.set(key + "right", menus[i].right);
        report.set(key + "bottom", menus[i].bottom);
    }
    report.set("screen_width", GetSystemMetrics(SM_CXSCREEN));
    report.set("screen_height", GetSystemMetrics(SM_CYSCREEN));
    report.set("maximized_height", GetSystemMetrics(SM_CYMAXIMIZED));
    report.write(options.get("out"));
    if (foreground) DestroyWindow(foreground);
    return ended ? 0 : 1;
}

}  // namespace driver
