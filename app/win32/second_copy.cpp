// The second copy of an executable: it loads the [system] options so that
// its input is judged as the first copy would, and sends the payload to the
// running copy's visible window.
//
// A running copy shows its window only while its list is open; while it
// dispatches or shows a menu it is hidden and cannot be found (two links
// clicked in quick succession, with Tavrin as the web browser). The second
// copy then keeps looking: it hands over once the list window shows, and
// once the running copy has ended (its mutex is ours: released or
// abandoned) it becomes the first copy and does its own start-up with its
// own command line. After a long wait it gives up and says so.
#include "app/win32/second_copy.h"

#include <utility>

#include "app/first_copy.h"
#include "app/handoff.h"
#include "app/handoff_wait.h"
#include "app/overlong_notice.h"
#include "app/unopenable_notice.h"
#include "app/win32/armed_timers.h"
#include "app/win32/first_copy_start.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/unopenable_names.h"
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
    // so such an installation never finds its running copy: its second
    // copies wait for the running copy to end instead.
    if (lstrcmpA(className, programPaths.programPath.c_str()) != 0) return TRUE;
    search.found = candidate;
    return FALSE;
}

void send(HWND window, HWND running, const HandOff& handOff) {
    const std::string bytes = handOffRecordData(handOff);
    COPYDATASTRUCT data{};
    data.dwData = handOff.transferCode;
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = const_cast<char*>(bytes.data());
    SendMessageA(running, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                 reinterpret_cast<LPARAM>(&data));
}

// True when the running copy has ended and its mutex is now ours.
bool tookMutexOver() {
    const DWORD r = WaitForSingleObject(instanceState.instanceMutex.get(), 0);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

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
    if (!handOff.send) {
        // Nothing to hand over: end without contacting anyone.
        instanceState.instanceMutex.reset();
        reportOverlongUrls(window);
        reportUnopenableNames(window);
        closeMainWindow(window);
        return;
    }
    instanceState.pendingHandOff = std::move(handOff);
    instanceState.handOffWaitStarted = GetTickCount();
    continueHandOff(window);
}

void continueHandOff(HWND window) {
    // Off before anything that runs a message loop of its own (the send,
    // a box, the start-up of a first copy).
    disarmTimer(window, handOffTimer);
    if (HWND running = findRunningCopy()) {
        // The mutex object must not outlive the running copy for our sake.
        instanceState.instanceMutex.reset();
        const HandOff handOff = std::exchange(instanceState.pendingHandOff, HandOff{});
        send(window, running, handOff);
        // Told once the running copy has what could be sent.
        reportOverlongUrls(window);
        reportUnopenableNames(window);
        closeMainWindow(window);
        return;
    }
    if (tookMutexOver()) {
        // We are the first copy now, for the rest of our life. What this
        // copy cannot open is told before it starts over, which reads the
        // clipboard again where it read it before.
        instanceState.pendingHandOff = HandOff{};
        reportUnopenableNames(window);
        forgetSecondCopyState();
        startFirstCopy(window);
        return;
    }
    if (handOffWaitOver(instanceState.handOffWaitStarted, GetTickCount())) {
        instanceState.instanceMutex.reset();
        const HandOff handOff = std::exchange(instanceState.pendingHandOff, HandOff{});
        // The box shows the input's start; what was too long or cannot be
        // opened goes with it.
        clearOverlongUrls();
        clearUnopenableNames();
        reportLostHandOff(window, handOff.payload);
        closeMainWindow(window);
        return;
    }
    armTimer(window, handOffTimer, handOffRetryMs);
}
