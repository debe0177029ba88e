// Waits on the user-interface thread that keep answering other programs.
// While they wait, the messages other threads send to this thread's
// windows are handled (a second copy's hand-off, a DDE client's broadcast
// initiate, anyone's WM_NULL), and so are the calls OLE delivers to this
// thread (another program's drop). Nothing else is dispatched: input and
// posted messages wait for the wait's end, so no other work starts inside
// it.
#pragma once
#include "platform/win32/win.h"

namespace win {

// Waits up to `ms` milliseconds for `handle` (null: for the time alone);
// true once the handle is signalled.
bool waitAnswering(HANDLE handle, DWORD ms);

}  // namespace win
