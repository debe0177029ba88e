// The answering wait. OLE hands a call from another apartment (a drop from
// another program) to this thread as a message posted to its apartment's
// hidden window, so that window's messages are taken as well.
#include "platform/win32/answering_wait.h"

namespace win {
namespace {

// The hidden window through which OLE calls this thread, once OLE has made
// one; null before.
HWND apartmentWindow() {
    static HWND known = nullptr;
    const DWORD thread = GetCurrentThreadId();
    if (known && IsWindow(known) && GetWindowThreadProcessId(known, nullptr) == thread) return known;
    known = nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(HWND_MESSAGE, candidate, "OleMainThreadWndClass", nullptr))) {
        if (GetWindowThreadProcessId(candidate, nullptr) == thread) {
            known = candidate;
            break;
        }
    }
    return known;
}

void answerWhatWaits() {
    MSG message;
    // A look at the queue delivers what was sent to this thread; it also
    // marks what was posted as seen, so that the next wait sleeps until
    // something new arrives.
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (HWND apartment = apartmentWindow()) {
        while (PeekMessageA(&message, apartment, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

}  // namespace

bool waitAnswering(HANDLE handle, DWORD ms) {
    const DWORD started = GetTickCount();
    const DWORD count = handle ? 1 : 0;
    for (;;) {
        const DWORD passed = GetTickCount() - started;
        const DWORD left = passed >= ms ? 0 : ms - passed;
        const DWORD result = MsgWaitForMultipleObjectsEx(count, handle ? &handle : nullptr, left,
                                                         QS_SENDMESSAGE | QS_POSTMESSAGE, 0);
        if (handle && result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + count) return false;  // the time is up, or no wait at all
        answerWhatWaits();
        if (left == 0) return handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    }
}

}  // namespace win
