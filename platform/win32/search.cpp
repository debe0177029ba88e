// Path resolution through the system: full path names, the search path and
// the shell's special folders, each taken wide and named in code page 932.
#include <cwchar>
#include <utility>

#include "common/capacity.h"
#include "platform/win32/code_page.h"
#include "platform/win32/wide_names.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// A path the system found, as the program names it: false when it does not
// fit the program's path buffers or no code page 932 name reaches it.
bool foundName(const wchar_t* wide, DWORD length, DWORD capacity, std::string& out) {
    // A result that does not fit comes back as the size it would need.
    if (length == 0 || length >= capacity) return false;
    std::string name;
    if (!windowsName(wide, name) || name.size() >= cap::path) return false;
    out = std::move(name);
    return true;
}

}  // namespace

bool Win32Platform::fullPathName(const std::string& name, std::string& out) {
    wchar_t buffer[cap::path];
    wchar_t* filePart = nullptr;
    const DWORD n = GetFullPathNameW(wideChars(wideFromCp932(name)), cap::path, buffer, &filePart);
    return foundName(buffer, n, cap::path, out);
}

bool Win32Platform::searchPath(const std::string* directories, const std::string& name,
                               std::string& out) {
    wchar_t buffer[cap::path];
    wchar_t* filePart = nullptr;
    const std::u16string folders = directories ? wideFromCp932(*directories) : std::u16string();
    const DWORD n = SearchPathW(directories ? wideChars(folders) : nullptr, wideChars(wideFromCp932(name)),
                                nullptr, cap::path, buffer, &filePart);
    return foundName(buffer, n, cap::path, out);
}

bool Win32Platform::specialFolderPath(WindowHandle owner, int csidl, std::string& out) {
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(static_cast<HWND>(owner), buffer, csidl, FALSE)) return false;
    return foundName(buffer, static_cast<DWORD>(wcslen(buffer)), MAX_PATH, out);
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
