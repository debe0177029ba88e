// Path resolution through the system: full path names, the search path and
// the shell's special folders, each taken wide and named in code page 932.
#include <cwchar>
#include <string>
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

// The folders of PATH that are named in full. The system's own order would
// look in the current folder (and the program's) as well, and a relative
// item of PATH ("." or "bin") means the current folder too.
std::u16string fullPathFolders() {
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0) return {};
    std::u16string value(size, u'\0');
    const DWORD length = GetEnvironmentVariableW(L"PATH", reinterpret_cast<wchar_t*>(&value[0]), size);
    if (length == 0 || length >= size) return {};
    value.resize(length);
    std::u16string out;
    std::size_t from = 0;
    while (from <= value.size()) {
        std::size_t end = value.find(u';', from);
        if (end == std::u16string::npos) end = value.size();
        const std::u16string item = value.substr(from, end - from);
        const bool full = item.size() >= 3 && item[1] == u':' && (item[2] == u'\\' || item[2] == u'/');
        const bool share = item.size() >= 3 && item[0] == u'\\' && item[1] == u'\\';
        if (full || share) {
            if (!out.empty()) out += u';';
            out += item;
        }
        from = end + 1;
    }
    return out;
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
    const std::u16string folders = directories ? wideFromCp932(*directories) : fullPathFolders();
    // An empty list would have the system search in its own order.
    if (folders.empty()) return false;
    const DWORD n = SearchPathW(wideChars(folders), wideChars(wideFromCp932(name)), nullptr, cap::path,
                                buffer, &filePart);
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
