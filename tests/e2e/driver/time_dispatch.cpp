// The "time-dispatch" command: how long a program takes to open a URL with
// its one program. Each run is timed from CreateProcess to the program's
// end, and to the creation of the program it started, which the recorder
// writes into its log (system time in milliseconds).
#include <cstdio>
#include <cstdlib>

#include "tests/e2e/driver/commands.h"

namespace driver {

namespace {

ULONGLONG systemMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
}

// The creation times the recorder's log holds, in order.
std::vector<ULONGLONG> recordedStarts(const std::string& log) {
    std::vector<ULONGLONG> starts;
    std::string bytes;
    if (!readBytes(log, bytes)) return starts;
    std::size_t at = 0;
    while ((at = bytes.find("\nt=", at)) != std::string::npos) {
        at += 3;
        starts.push_back(std::strtoull(bytes.c_str() + at, nullptr, 10));
    }
    return starts;
}

struct Timing {
    double endedMs = -1;
    long long launchedMs = -1;
};

Timing timeOneRun(const Options& options, const std::string& log, int timeoutMs) {
    Timing timing;
    const std::size_t before = recordedStarts(log).size();
    LARGE_INTEGER frequency{}, started{}, ended{};
    QueryPerformanceFrequency(&frequency);
    const ULONGLONG startedMs = systemMs();
    QueryPerformanceCounter(&started);
    Child child;
    if (!startProgram(options, child)) return timing;
    if (WaitForSingleObject(child.process(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        child.kill();
        return timing;
    }
    QueryPerformanceCounter(&ended);
    timing.endedMs = 1000.0 * static_cast<double>(ended.QuadPart - started.QuadPart) /
                     static_cast<double>(frequency.QuadPart);
    // The started program writes its record once it runs.
    const DWORD deadline = deadlineAfter(timeoutMs);
    for (;;) {
        const std::vector<ULONGLONG> starts = recordedStarts(log);
        if (starts.size() > before) {
            timing.launchedMs = static_cast<long long>(starts.back() - startedMs);
            break;
        }
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
        Sleep(5);
    }
    return timing;
}

}  // namespace

int timeDispatchCommand(const Options& options) {
    const int runs = options.number("runs", 10);
    const int timeoutMs = options.number("timeout", 10000);
    const std::string log = options.get("log");
    Report report;
    bool all = true;
    report.set("runs", runs);
    for (int i = 0; i < runs; ++i) {
        const Timing timing = timeOneRun(options, log, timeoutMs);
        all = all && timing.endedMs >= 0 && timing.launchedMs >= 0;
        const std::string key = "run." + std::to_string(i + 1);
        report.set(key + ".ended.us", static_cast<long long>(timing.endedMs * 1000));
        report.set(key + ".launched.ms", timing.launchedMs);
    }
    report.write(options.get("out"));
    return all ? 0 : 1;
}

}  // namespace driver
