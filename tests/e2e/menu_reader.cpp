// A hook library that the driver installs for every program of the session
// (the "read-menus" step): inside Tavrin.exe it writes the items of each
// menu as it opens — its menu bar and every popup, the association menu
// included — to the file named by TAVRIN_MENU_LOG. Another process cannot
// read a Wine menu's items; the program's own process can.
//
//   menu                a menu opened (WM_INITMENU or WM_INITMENUPOPUP)
//   item HEX            an item's text, read wide, in code page 932
//   separator
#include <cstdio>
#include <cwchar>

#include "platform/win32/win.h"

namespace {

bool inTavrin() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::size_t n = wcslen(path);
    const wchar_t name[] = L"\\Tavrin.exe";
    const std::size_t k = sizeof name / sizeof name[0] - 1;
    return n >= k && lstrcmpiW(path + n - k, name) == 0;
}

void writeMenu(HMENU menu) {
    char log[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TAVRIN_MENU_LOG", log, MAX_PATH) || !inTavrin()) return;
    std::FILE* out = std::fopen(log, "ab");
    if (!out) return;
    std::fputs("menu\n", out);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
        if (item.fType & MFT_SEPARATOR) {
            std::fputs("separator\n", out);
            continue;
        }
        wchar_t text[1024] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 1024, MF_BYPOSITION);
        char bytes[2048] = {};
        WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
        std::fputs("item ", out);
        for (const char* p = bytes; *p; ++p) std::fprintf(out, "%02x", static_cast<unsigned char>(*p));
        std::fputs("\n", out);
    }
    std::fclose(out);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK menuReaderHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        // After the program's own handling: a group is filled as it opens.
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_INITMENU || message->message == WM_INITMENUPOPUP)
            writeMenu(reinterpret_cast<HMENU>(message->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
