// The routes of waiting input: the start-up action, hand-offs, drops and
// clipboard changes, in the order they arrived.
#include "app/queued_routes.h"

#include "app/routing.h"
#include "common/app_state.h"
#include "platform/ui_port.h"

void routeQueuedInput(platform::WindowHandle window, const QueuedInput& input) {
    switch (input.kind) {
        case InputKind::startup:
            startupAction(window, runState.shiftFlag, runState.ctrlFlag);
            return;
        case InputKind::handOff:
            receiveHandOff(window, input.transferCode, input.text, input.source);
            return;
        case InputKind::fileDrop:
            routeDroppedFile(window, input.text, input.ctrl);
            return;
        case InputKind::textDrop:
            routeDroppedText(window, input.text, input.ctrl);
            return;
        case InputKind::clipboard:
            routeClipboardText(window, input.text, input.ctrl);
            return;
    }
}

void runQueuedInput(platform::WindowHandle window) {
    if (workInProgress()) return;
    QueuedInput input;
    while (takeQueuedInput(input)) {
        WorkScope work;
        routeQueuedInput(window, input);
    }
    if (takeCloseRequest()) ui().closeWindow(window);
}
