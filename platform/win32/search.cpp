// Path resolution through the system: full path names, the search path and
// the shell's special folders.
#include <string>

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

namespace {

// The folders of PATH that are named in full. The system's own order would
// look in the current folder (and the program's) as well, and a relative
// item of PATH ("." or "bin") means the current folder too.
std::string fullPathFolders() {
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) return {};
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA("PATH", &value[0], size);
    if (length == 0 || length >= size) return {};
    value.resize(length);
    std::string out;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t end = value.find(';', from);
        if (end == std::string::npos) end = value.size();
        const std::string item = value.substr(from, end - from);
        const bool full = item.size() >= 3 && item[1] == ':' && (item[2] == '\\' || item[2] == '/');
        const bool share = item.size() >= 3 && item[0] == '\\' && item[1] == '\\';
        if (full || share) {
            if (!out.empty()) out += ';';
            out += item;
        }
        from = end + 1;
    }
    return out;
}

}  // namespace

bool Win32Platform::searchPath(const std::string* directories, const std::string& name,
                               std::string& out) {
    char buffer[cap::path];
    char* filePart = nullptr;
    const std::string folders = directories ? *directories : fullPathFolders();
    // An empty list would have the system search in its own order.
    if (folders.empty()) return false;
    DWORD n = SearchPathA(folders.c_str(), name.c_str(), nullptr, sizeof buffer, buffer, &filePart);
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
