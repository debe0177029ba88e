// The second copy of an executable: it loads the [system] options so that
// its input is judged as the first copy would, sends the payload to the
// running copy's visible window and ends.
#include "app/win32/second_copy.h"

#include <cstring>

#include "app/handoff.h"
#include "app/overlong_notice.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "settings/settings.h"

namespace {

struct Search {
    DWORD ownProcess = 0;
    HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND candidate, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    char title[cap::url] = {};
    char className[cap::className] = {};
    GetWindowTextA(candidate, title, sizeof title);
    GetClassNameA(candidate, className, sizeof className);
    if (!IsWindowVisible(candidate)) return TRUE;
    if (GetWindow(candidate, GW_OWNER)) return TRUE;
    if (title[0] == '\0') return TRUE;
    if (lstrcmpA(className, "Progman") == 0) return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(candidate, &process);
    if (process == search.ownProcess) return TRUE;
    // A path of 128 characters or more never fits the class-name buffer,
    // so such an installation never finds its running copy.
    if (lstrcmpA(className, programPaths.programPath.c_str()) != 0) return TRUE;
    search.found = candidate;
    return FALSE;
}

void closeWindow(HWND window) { SendMessageA(window, WM_CLOSE, 0, 0); }

}  // namespace

HWND findRunningCopy() {
    Search search;
    search.ownProcess = GetCurrentProcessId();
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void runSecondCopy(HWND window) {
    if (!loadSettings(window, 1)) {
        instanceState.instanceMutex.reset();
        DestroyWindow(window);
        return;
    }
    HandOff handOff = prepareHandOff(window, runState.currentTarget);
    // The first copy must be free to go on as soon as we are done with it.
    instanceState.instanceMutex.reset();
    if (handOff.send) {
        if (HWND running = findRunningCopy()) {
            COPYDATASTRUCT data{};
            data.dwData = handOff.transferCode;
            data.cbData = static_cast<DWORD>(handOff.payload.size() + 1);
            data.lpData = const_cast<char*>(handOff.payload.c_str());
            SendMessageA(running, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                         reinterpret_cast<LPARAM>(&data));
        }
    }
    // Told once the running copy has what could be sent.
    reportOverlongUrls(window);
    closeWindow(window);
}
