// Stands in for an associated program in the end-to-end tests: appends the
// exact command line it was started with, its working folder and the time
// it was created to "<its own path>.log", then ends. Copies of it under
// other names play different programs, each with its own log.
#include <cstdio>

#include "platform/win32/win.h"

namespace {

void append(HANDLE file, const char* text) {
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, nullptr);
}

// Wide text in code page 932, as a program of a Japanese system reads it
// in its ANSI form, whatever code page this one runs in.
void appendWide(HANDLE file, const wchar_t* text) {
    char bytes[65536] = {};
    WideCharToMultiByte(932, 0, text, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    append(file, bytes);
}

// The process's creation time in milliseconds of system time. It is taken
// when the starting program creates the process, so the spacing of starts
// shows without this program's own start-up time.
void appendCreationTime(HANDLE file) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULONGLONG ms = ((static_cast<ULONGLONG>(created.dwHighDateTime) << 32) |
                    created.dwLowDateTime) / 10000;
    char text[24] = {};
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(ms));
    append(file, text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Wide: the log goes beside this very file, whatever its folder's name.
    wchar_t logPath[MAX_PATH + 8] = {};
    GetModuleFileNameW(nullptr, logPath, MAX_PATH);
    lstrcatW(logPath, L".log");
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);

    // Several starts may arrive at once: take the file in turn.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 200 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return 1;
    append(file, "cmd=");
    appendWide(file, GetCommandLineW());
    append(file, "\ndir=");
    appendWide(file, folder);
    append(file, "\nt=");
    appendCreationTime(file);
    append(file, "\n");
    CloseHandle(file);
    return 0;
}
