// Popup menu windows of another process, read from outside. Their items
// cannot be read across processes under Wine (MN_GETHMENU with
// GetMenuStringA fails), so cases judge a menu by its rectangle and by what
// choosing its items does.
#include "tests/e2e/driver/menu_windows.h"

#include <cstdlib>
#include <cstring>

#include "tests/e2e/driver/remote.h"

namespace driver {

std::vector<HWND> visibleMenuWindows(DWORD processId) { return windowsOf(processId, "#32768"); }

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
