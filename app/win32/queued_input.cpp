// Input joining the queue from the window procedure, and the wake-up that
// has the message loop take it up.
#include "app/win32/queued_input.h"

#include <utility>

void wakeForQueuedInput(HWND window) {
    if (window) PostMessageA(window, queuedInputMessage, 0, 0);
}

void queueInputAndWake(HWND window, QueuedInput input) {
    if (queueInput(std::move(input))) wakeForQueuedInput(window);
}
