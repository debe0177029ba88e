// Path resolution through the system: full path names, the search path and
// the shell's special folders.
#include "common/capacity.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

bool Win32Platform::fullPathName(const std::string& name, std::string& out) {
    char buffer[cap::path];
    char* filePart = nullptr;
    DWORD n = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, &filePart);
    // A result that does not fit comes back as the size it would need.
    if (n == 0 || n >= sizeof buffer) return false;
    out.assign(buffer, n);
    return true;
}

bool Win32Platform::searchPath(const std::string* directories, const std::string& name,
                               std::string& out) {
    char buffer[cap::path];
    char* filePart = nullptr;
    DWORD n = SearchPathA(directories ? directories->c_str() : nullptr, name.c_str(), nullptr,
                          sizeof buffer, buffer, &filePart);
    if (n == 0 || n >= sizeof buffer) return false;
    out.assign(buffer, n);
    return true;
}

bool Win32Platform::specialFolderPath(WindowHandle owner, int csidl, std::string& out) {
    char buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(static_cast<HWND>(owner), buffer, csidl, FALSE)) return false;
    out = buffer;
    return true;
}

LocalTime Win32Platform::localTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

}  // namespace platform
