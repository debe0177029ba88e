// Popup menu windows of another process, read from outside. Their items
// cannot be read across processes under Wine (MN_GETHMENU with
// GetMenuStringA fails), so cases judge a menu by its rectangle and by what
// choosing its items does.
#include "tests/e2e/driver/menu_windows.h"

#include <cstdlib>
#include <cstring>

namespace driver {

namespace {

struct MenuSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM context) {
    MenuSearch& search = *reinterpret_cast<MenuSearch*>(context);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.processId && std::strcmp(className, "#32768") == 0 &&
        IsWindowVisible(window))
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> visibleMenuWindows(DWORD processId) {
    MenuSearch search{processId, {}};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool sendMouse(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 over the primary screen.
    input.mi.dx = static_cast<LONG>((x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return SendInput(1, &input, sizeof input) == 1;
}

bool parseNumbers(const std::string& text, std::vector<int>& out, std::size_t count) {
    out.clear();
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        long value = std::strtol(p, &end, 10);
        if (end == p) return false;
        out.push_back(static_cast<int>(value));
        p = end;
        if (*p == ',') ++p;
    }
    return out.size() == count;
}

}  // namespace driver
