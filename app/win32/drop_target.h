// An OLE drop target that turns every drag event into a synchronous
// message to one window; the window decides the effect and what a drop
// means.
#pragma once
#include "platform/win32/win.h"

// Event codes, the wParam of the notification message.
enum DropEvent : WPARAM { dropEnter = 0, dropOver = 1, dropLeave = 2, dropDrop = 3 };

// The record whose address is the lParam of each notification. Reused for
// every event of the target; `effect` is the window's answer and carries
// over from drag entry to the following events.
struct DropNotice {
    POINTL* point = nullptr;       // null for drag-leave
    DWORD effect = DROPEFFECT_NONE;
    DWORD keyState = 0;
    UINT format = 0;               // first offered format of the list, or 0
    HGLOBAL data = nullptr;        // valid only during the notification
    IDataObject* dataObject = nullptr;  // drag-enter and drop only
};

// The notice whose message is being handled, else null. The message number
// is a plain private one that any program can post with any lParam: only
// this address is a notice.
DropNotice* dropNoticeInFlight();

// Creates a target for `window` and registers it; 1 on success, 0 when
// memory or the registration fails. OLE must be initialised.
int registerDropTarget(HWND window, UINT message, const UINT* formats, int formatCount);
