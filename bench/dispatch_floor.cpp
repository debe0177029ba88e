// The yardstick of the dispatch benchmark: the least a Windows program does
// to open a clicked link with its one program. It initialises OLE (the
// shell wants it), creates one hidden window, splits the URL and starts the
// program with the URL through the shell, then ends.
//   dispatch_floor.exe <program> <url>
// scripts/bench-dispatch.sh times it against Tavrin.exe.
#include <string>

#include "platform/win32/win.h"

namespace {

// The first token of the command-line tail (quoted or not) and the rest.
void splitArguments(const char* tail, std::string& program, std::string& rest) {
    const char* p = tail;
    while (*p == ' ') ++p;
    const bool quoted = *p == '"';
    if (quoted) ++p;
    const char* start = p;
    while (*p && (quoted ? *p != '"' : *p != ' ')) ++p;
    program.assign(start, p);
    if (quoted && *p == '"') ++p;
    while (*p == ' ') ++p;
    rest = p;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "DispatchFloor";
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "floor", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    std::string program, url;
    splitArguments(tail, program, url);
    char host[260] = {}, path[1040] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    InternetCrackUrlA(url.c_str(), 0, 0, &parts);

    const int started = static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, nullptr, program.c_str(), url.c_str(), nullptr, SW_SHOWNORMAL)));
    DestroyWindow(window);
    return started > 32 ? 0 : 1;
}
