// Stands in for the "@loader=" download program in the end-to-end tests.
// Its command line is: MODE "SAVED PATH" URL. It does not download; it
// writes "loaded URL" into the saved path the way the mode says, and logs
// what it did with system times (milliseconds) to "<its own path>.log":
//   write   writes the file and ends
//   hidden  writes the file hidden, shows it 1.5 s later, ends 3 s after that
//   hang    never ends; logs "alive" every 100 ms until it is killed
//   late    writes the file 1.5 s after its start, then ends
//   none    ends without writing anything
#include <cstdlib>
#include <string>

#include "platform/win32/win.h"

namespace {

std::string logPath;

unsigned long long nowMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) /
           10000;
}

void log(const std::string& line) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void event(const char* name) { log(std::string(name) + " " + std::to_string(nowMs())); }

bool writeSaved(const std::string& path, const std::string& url, DWORD attributes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string body = "loaded " + url;
    DWORD written = 0;
    WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(file);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    logPath = std::string(self) + ".log";
    log(std::string("cmd=") + GetCommandLineA());
    log("pid=" + std::to_string(GetCurrentProcessId()));
    if (__argc < 4) return 2;
    const std::string mode = __argv[1], path = __argv[2], url = __argv[3];

    if (mode == "write") {
        writeSaved(path, url, FILE_ATTRIBUTE_NORMAL);
        event("written");
    } else if (mode == "hidden") {
        writeSaved(path, url, FILE_ATTRIBUTE_HIDDEN);
        event("hidden");
        Sleep(1500);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        event("shown");
        Sleep(3000);
    } else if (mode == "late") {
        Sleep(1500);
        writeSaved(path, url, FILE_ATTRIBUTE_NORMAL);
        event("written");
    } else if (mode == "hang") {
        for (;;) {
            event("alive");
            Sleep(100);
        }
    }
    event("end");
    return 0;
}
