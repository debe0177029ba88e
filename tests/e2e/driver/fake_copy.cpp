// The "fake-copy" command: a stand-in for a running copy of the program,
// so that the started program becomes a second copy and hands its input
// over to us.
#include <cstdio>
#include <cstring>

#include "app/handoff.h"
#include "platform/win32/wide_names.h"
#include "tests/e2e/driver/commands.h"
#include "tests/e2e/driver/input.h"

namespace driver {

namespace {

struct Received {
    ULONG_PTR code = 0;
    DWORD size = 0;
    std::string bytes;  // all cbData bytes, terminating zero included
    bool fromChild = false;
};

std::vector<Received> received;
DWORD childProcess = 0;
DWORD startTick = 0;
long long firstArrivalMs = -1;

LRESULT CALLBACK standInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        Received r;
        r.code = data->dwData;
        r.size = data->cbData;
        if (data->lpData && data->cbData)
            r.bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
        DWORD sender = 0;
        GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), &sender);
        r.fromChild = sender != 0 && sender == childProcess;
        received.push_back(r);
        if (firstArrivalMs < 0) firstArrivalMs = static_cast<long long>(GetTickCount() - startTick);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Named as the program names its class, code page 932, whatever code page
// this driver runs in.
HWND createStandIn(const std::string& path, bool visible) {
    const std::wstring name = wideText(path, 932);
    WNDCLASSW wc{};
    wc.lpfnWndProc = standInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name.c_str();
    if (!RegisterClassW(&wc)) return nullptr;
    HWND window = CreateWindowExW(0, name.c_str(), name.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                  120, nullptr, nullptr, wc.hInstance, nullptr);
    if (window && visible) ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

}  // namespace

int fakeCopyCommand(const Options& options) {
    if (!options.has("exe") || !options.has("out")) {
        std::fprintf(stderr, "needs --exe and --out\n");
        return 2;
    }
    wchar_t wide[520] = {};
    wchar_t* filePart = nullptr;
    DWORD n = GetFullPathNameW(wideText(options.get("exe")).c_str(), 520, wide, &filePart);
    if (n == 0 || n >= 520) return 2;
    std::string full;
    platform::windowsName(wide, full);

    std::string mutexName = instanceMutexNameFor(full);
    win::ScopedHandle mutex(CreateMutexW(nullptr, TRUE, wideText(mutexName, 932).c_str()));
    if (!mutex.valid() || GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "the program's mutex is taken already\n");
        return 2;
    }
    HWND window = createStandIn(full, options.get("hidden", "0") == "0");
    if (!window) return 2;
    if (options.has("clipboard") || options.has("wide-clipboard")) {
        const bool wide = options.has("wide-clipboard");
        std::string bytes;
        if (!readBytes(options.get(wide ? "wide-clipboard" : "clipboard"), bytes) ||
            !(wide ? putClipboardWideText(window, bytes) : putClipboardText(window, bytes))) {
            std::fprintf(stderr, "cannot set the clipboard\n");
            return 2;
        }
    }

    Child child;
    startTick = GetTickCount();
    if (!startProgram(options, child)) return 2;
    childProcess = child.processId();
    // The stand-in may show its window later (as a running copy opens its
    // list window), or end (release its mutex and go) while the program
    // runs.
    const DWORD deadline = deadlineAfter(options.number("timeout", 10000));
    const int showAfter = options.number("show-after", -1);
    const int releaseAfter = options.number("release-after", -1);
    long long shownMs = -1, releasedMs = -1, endedMs = -1;
    bool ended = false;
    for (;;) {
        DWORD next = deadline;
        const int pending = showAfter >= 0 && shownMs < 0 ? showAfter
                            : releaseAfter >= 0 && releasedMs < 0 ? releaseAfter : -1;
        if (pending >= 0 && static_cast<LONG>(startTick + pending - deadline) < 0)
            next = startTick + static_cast<DWORD>(pending);
        ended = child.watch(next, true);
        if (ended || next == deadline) break;
        const long long now = static_cast<long long>(GetTickCount() - startTick);
        if (showAfter >= 0 && shownMs < 0) {
            ShowWindow(window, SW_SHOWNOACTIVATE);
            shownMs = now;
        } else {
            ReleaseMutex(mutex.get());
            mutex.reset();
            DestroyWindow(window);
            window = nullptr;
            releasedMs = now;
        }
    }
    if (ended) endedMs = static_cast<long long>(GetTickCount() - startTick);
    if (!ended) child.kill();

    Report report;
    child.addTo(report);
    report.set("shown_ms", shownMs);
    report.set("released_ms", releasedMs);
    report.set("arrived_ms", firstArrivalMs);
    report.set("ended_ms", endedMs);
    report.setBytes("exe", child.fullPath());
    report.set("copydata", static_cast<long long>(received.size()));
    for (std::size_t i = 0; i < received.size(); ++i) {
        std::string key = "copydata." + std::to_string(i + 1) + ".";
        report.set(key + "code", static_cast<long long>(received[i].code));
        report.set(key + "size", static_cast<long long>(received[i].size));
        report.set(key + "from_child", received[i].fromChild ? 1 : 0);
        report.setBytes(key + "bytes", received[i].bytes);
    }
    report.write(options.get("out"));
    if (window) DestroyWindow(window);
    return received.empty() ? 1 : 0;
}

}  // namespace driver
