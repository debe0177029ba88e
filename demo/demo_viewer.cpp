// The demo's associated program: shows in a window the parameters it was
// started with and its working folder, and appends both to
// "<its own path>.log" so that the demo script can print them.
#include "platform/win32/win.h"

#include <string>

namespace {

std::string shownText;

LRESULT CALLBACK viewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT area;
        GetClientRect(window, &area);
        InflateRect(&area, -12, -12);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, shownText.c_str(), -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void appendLog(const std::string& parameters, const std::string& folder) {
    char logPath[MAX_PATH + 8] = {};
    GetModuleFileNameA(nullptr, logPath, MAX_PATH);
    lstrcatA(logPath, ".log");
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = "parameters: " + parameters + "\r\nworking folder: " + folder + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR parameters, int show) {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    appendLog(parameters, folder);
    shownText = std::string("デモ表示プログラムが起動されました。\r\n\r\nパラメータ:\r\n") + parameters +
                "\r\n\r\n作業フォルダ:\r\n" + folder;

    WNDCLASSA wc{};
    wc.lpfnWndProc = viewerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "TavrinDemoViewer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Tavrin デモ表示プログラム",
                                  WS_OVERLAPPEDWINDOW, 80, 80, 640, 260, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    // The demo closes itself so that a scripted run never waits on it.
    SetTimer(window, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
