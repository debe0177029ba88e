// A library planted where Tavrin must never take libraries from (the folder
// a start began in, a folder the user browsed to), under the names of the
// libraries Tavrin loads. Being loaded is all it does: it writes
// "<its own path>.loaded" holding the loading process's id, so a test can
// tell that it ran inside the program.
#include <cstdio>
#include <cstring>

#include "platform/win32/win.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH + 16] = {};
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    std::strcat(path, ".loaded");
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return TRUE;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%lu\r\n", GetCurrentProcessId());
    DWORD written = 0;
    WriteFile(marker, text, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(marker);
    return TRUE;
}

