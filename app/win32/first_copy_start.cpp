// The first copy's start, shared by the creation step and a second copy
// that takes over: neither reaches into the other for it.
#include "app/win32/first_copy_start.h"

#include <utility>

#include "app/code_page_notice.h"
#include "app/first_copy.h"
#include "app/win32/queued_input.h"
#include "app/win32/window_messages.h"
#include "app/win32/window_state.h"
#include "platform/platform.h"

void startFirstCopy(HWND window) {
    // Before anything else is shown, so that what follows is understood.
    warnOfForeignCodePage(window);
    if (!loadFirstCopySettings(window)) {
        closeMainWindow(window);
        return;
    }
    if (OleInitialize(nullptr) != S_OK) {
        platform::os().messageBox(window, "ドラッグ＆ドロップの初期化に失敗しました。", "エラー",
                                  platform::mbOk | platform::mbIconError);
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
