// The creation step: who we are (first or second copy by the named mutex)
// and, for a first copy, its start (app/win32/first_copy_start).
#include "app/win32/creation.h"

#include "app/source_decision.h"
#include "app/switches.h"
#include "app/win32/first_copy_start.h"
#include "app/win32/second_copy.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "platform/platform.h"
#include "platform/process_query.h"
#include "platform/win32/dpi.h"
#include "settings/settings.h"

namespace {

void takeProgramFolderAndMetrics() {
    PathParts parts = splitPath(programPaths.programPath);
    programPaths.programFolder = parts.drive + parts.directory;
    text::assignCut(programPaths.helpFilePath, programPaths.programFolder + "Tavrin.txt",
                    cap::path);
    runState.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    runState.maximizedHeight = GetSystemMetrics(SM_CYMAXIMIZED);
    runState.mouseButtonCount = GetSystemMetrics(SM_CMOUSEBUTTONS);
    runState.systemDpi = systemDpi();
    settings.smallIconWidth = GetSystemMetrics(SM_CXSMICON);
    settings.smallIconHeight = GetSystemMetrics(SM_CYSMICON);
    settings.schemeEnabled = {1, 1, 1, 1};
}

void takeKeyStates() {
    runState.shiftFlag = (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0;
    runState.ctrlFlag = (GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 0;
    applyKeyInversions(runState.currentTarget);
}

}  // namespace

void runCreationStep(HWND window) {
    // The core reaches the window through this record already while the
    // settings load.
    runState.mainWindow = window;
    takeProgramFolderAndMetrics();
    takeKeyStates();
    // The window in front when we were started is noted now; who owns it,
    // and our parent, are asked only when the source is first wanted. A
    // second copy asks before it hands over; one that takes over as the
    // first copy keeps what it found.
    platform::nativeProcessQuery().noteForeground();
    runState.startSourceDecider = [] {
        return decideSourceProgram(platform::nativeProcessQuery(), programPaths.programPath);
    };

    instanceState.instanceMutex.reset(
        CreateMutexA(nullptr, TRUE, programPaths.instanceMutexName.c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        runSecondCopy(window);
    } else {
        startFirstCopy(window);
    }
}
