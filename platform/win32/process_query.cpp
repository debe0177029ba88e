// The process queries through the system. A program's path is asked with
// the least right there is (PROCESS_QUERY_LIMITED_INFORMATION and
// QueryFullProcessImageNameW, from Windows Vista on; before it, the query
// right and GetModuleFileNameExW), so that it works for programs of
// another user or run as administrator. The parent comes from a Toolhelp
// snapshot of the process list. Paths come back wide and are taken into
// code page 932 here, with '?' for what it lacks, never a look-alike.
#include <string>

#include "platform/platform.h"
#include "platform/process_query.h"
#include "platform/win32/code_page.h"
#include "platform/win32/library_search.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"

namespace platform {
namespace {

constexpr DWORD queryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr DWORD pathUnits = 2048;

using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

template <typename Fn>
Fn functionIn(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

QueryFullProcessImageNameFn queryImageName() {
    static const auto fn =
        functionIn<QueryFullProcessImageNameFn>(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW");
    return fn;
}

// Windows XP keeps it in the process status library, loaded from the
// system folder only; later systems have it in kernel32 as well.
GetModuleFileNameExFn moduleFileName() {
    static const auto fn = [] {
        if (auto k32 = functionIn<GetModuleFileNameExFn>(GetModuleHandleA("kernel32.dll"),
                                                         "K32GetModuleFileNameExW"))
            return k32;
        return functionIn<GetModuleFileNameExFn>(loadSystemLibrary("psapi.dll"), "GetModuleFileNameExW");
    }();
    return fn;
}

// A process's name as the program shows it: '?' for what the code page
// lacks (it is matched and passed on, never opened).
std::string narrowed(const WCHAR* wide) { return cp932Shown(wideView(wide)); }

win::ScopedHandle openForQuery(DWORD process) {
    HANDLE handle = OpenProcess(queryLimitedInformation, FALSE, process);
    // Systems before Vista know no limited right.
    if (!handle) handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
    return win::ScopedHandle(handle);
}

bool creationTime(DWORD process, ULONGLONG& time) {
    const win::ScopedHandle handle = openForQuery(process);
    FILETIME created, exited, kernel, user;
    if (!handle.valid() || !GetProcessTimes(handle.get(), &created, &exited, &kernel, &user)) return false;
    time = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return true;
}

struct FramedSearch {
    DWORD frameProcess = 0;
    DWORD found = 0;
};

BOOL CALLBACK visitChild(HWND child, LPARAM context) {
    FramedSearch& search = *reinterpret_cast<FramedSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(child, &process);
    if (process == 0 || process == search.frameProcess) return TRUE;
    search.found = process;
    return FALSE;
}

class Win32ProcessQuery final : public ProcessQuery {
public:
    ProcessId ownProcess() override { return GetCurrentProcessId(); }

    void noteForeground() override {
        front_ = GetForegroundWindow();
        frontProcess_ = 0;
        if (front_) GetWindowThreadProcessId(front_, &frontProcess_);
    }

    ProcessId foregroundProcess() override { return frontProcess_; }

    ProcessId framedProcess() override {
        if (!front_ || !IsWindow(front_)) return 0;
        FramedSearch search;
        search.frameProcess = frontProcess_;
        EnumChildWindows(front_, visitChild, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    bool imagePath(ProcessId process, std::string& path) override {
        const win::ScopedHandle handle = openForQuery(process);
        if (!handle.valid()) return false;
        WCHAR wide[pathUnits] = {};
        DWORD units = pathUnits;
        bool got = false;
        if (auto query = queryImageName()) got = query(handle.get(), 0, wide, &units) != FALSE;
        if (!got) {
            if (auto name = moduleFileName()) got = name(handle.get(), nullptr, wide, pathUnits) != 0;
        }
        wide[pathUnits - 1] = 0;
        if (!got || wide[0] == 0) return false;
        path = narrowed(wide);
        return true;
    }

    ProcessId parentProcess(ProcessId process, std::string& name) override {
        const win::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot.valid()) return 0;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        DWORD parent = 0;
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
             more = Process32NextW(snapshot.get(), &entry)) {
            if (entry.th32ProcessID == process) {
                parent = entry.th32ParentProcessID;
                break;
            }
        }
        if (parent == 0 || parent == process) return 0;
        // A parent that has ended may have left its number to a later
        // process; that one started after us.
        ULONGLONG parentStarted = 0, started = 0;
        if (creationTime(parent, parentStarted) && creationTime(process, started) && parentStarted > started)
            return 0;
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
             more = Process32NextW(snapshot.get(), &entry)) {
            if (entry.th32ProcessID != parent) continue;
            entry.szExeFile[MAX_PATH - 1] = 0;
            name = narrowed(entry.szExeFile);
            return parent;
        }
        // Not in the list: it has ended.
        return 0;
    }

private:
    HWND front_ = nullptr;
    DWORD frontProcess_ = 0;
};

}  // namespace

ProcessQuery& nativeProcessQuery() {
    static Win32ProcessQuery query;
    return query;
}

}  // namespace platform
