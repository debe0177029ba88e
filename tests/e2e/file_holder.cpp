// Holds a file open for the end-to-end tests, as another program that has
// it open without sharing would: FILE READY-MARK MILLISECONDS. Opens FILE
// with no sharing, creates READY-MARK once it holds it, and keeps it for
// the given time (or until killed).
#include <cstdlib>

#include "platform/win32/win.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    HANDLE held = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    Sleep(static_cast<DWORD>(std::atoi(argv[3])));
    CloseHandle(held);
    return 0;
}
