// The outside probes of a running Tavrin.
#include "tests/e2e/driver/probes.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace driver {

namespace {

struct TopLevel {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM context) {
    TopLevel& search = *reinterpret_cast<TopLevel*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.processId) search.found.push_back(window);
    return TRUE;
}

}  // namespace

void answerProbe(DWORD processId, DWORD limitMs, Report& report, const std::string& label) {
    TopLevel search{processId, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    long long answered = 0, slowest = 0;
    for (HWND window : search.found) {
        const DWORD began = GetTickCount();
        DWORD_PTR result = 0;
        // Not SMTO_ABORTIFHUNG: a window that does not answer must be seen
        // to wait out the limit.
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result)) ++answered;
        const long long took = static_cast<long long>(GetTickCount() - began);
        if (took > slowest) slowest = took;
    }
    report.set(label + ".windows", static_cast<long long>(search.found.size()));
    report.set(label + ".answered", answered);
    report.set(label + ".slowest_ms", slowest);
}

namespace {
HDDEDATA CALLBACK ignoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}
}  // namespace

void ddeProbe(Report& report, const std::string& label) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ignoreDde, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        report.set(label + ".ms", -1);
        return;
    }
    HSZ service = DdeCreateStringHandleA(instance, "TavrinNoSuchService", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "Probe", CP_WINANSI);
    const DWORD began = GetTickCount();
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    report.set(label + ".ms", static_cast<long long>(GetTickCount() - began));
    if (conversation) DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
}

namespace {

// The process's handles from the system's table of all handles, where
// GetProcessHandleCount has no answer (Wine's reports none).
DWORD handlesInSystemTable(DWORD processId) {
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
            DWORD count = 0;
            for (ULONG i = 0; i < table->Count; ++i)
                if (table->Handle[i].OwnerPid == processId) ++count;
            return count;
        }
        buffer.resize(buffer.size() * 2);
    }
    return 0;
}

}  // namespace

void resourceProbe(HANDLE process, Report& report, const std::string& label) {
    DWORD handles = 0;
    if (!GetProcessHandleCount(process, &handles) || handles == 0)
        handles = handlesInSystemTable(GetProcessId(process));
    report.set(label + ".handles", static_cast<long long>(handles));
    report.set(label + ".gdi", static_cast<long long>(GetGuiResources(process, GR_GDIOBJECTS)));
    report.set(label + ".user", static_cast<long long>(GetGuiResources(process, GR_USEROBJECTS)));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        report.set(label + ".working_kb", static_cast<long long>(memory.WorkingSetSize / 1024));
        report.set(label + ".private_kb", static_cast<long long>(memory.PagefileUsage / 1024));
    }
}

}  // namespace driver
