// The first copy's start, shared by the creation step and a second copy
// that takes over: neither reaches into the other for it.
#include "app/win32/first_copy_start.h"

#include <utility>

#include "app/first_copy.h"
#include "app/win32/queued_input.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"

void startFirstCopy(HWND window) {
    if (!loadFirstCopySettings(window)) {
        closeMainWindow(window);
        return;
    }
    if (OleInitialize(nullptr) != S_OK) {
        MessageBoxA(window, "ドラッグ＆ドロップの初期化に失敗しました。", "エラー",
                    MB_OK | MB_ICONERROR);
        closeMainWindow(window);
        return;
    }
    // The drop target waits for the list window: nothing can be dropped on
    // a hidden window, and registering it costs a clicked link's dispatch
    // more than all the rest of its work.
    //
    // The start-up action is the first input of the queue: it runs from the
    // message loop once this creation has returned, and at once (a
    // zero-period timer would first wait out the system's shortest period).
    // The menu it may show is placed by the window that was in front.
    windowState.previousForeground = GetForegroundWindow();
    QueuedInput startup;
    startup.kind = InputKind::startup;
    queueInputAndWake(window, std::move(startup));
}
