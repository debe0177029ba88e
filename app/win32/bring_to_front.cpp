// Activation across processes: the foreground lock would otherwise turn
// SetActiveWindow into a flashing task-bar button.
#include "app/win32/bring_to_front.h"

void bringToFront(HWND window) {
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(windowThread, foregroundThread, TRUE);

    DWORD savedTimeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetActiveWindow(window);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(savedTimeout)), 0);

    AttachThreadInput(windowThread, foregroundThread, FALSE);
}
