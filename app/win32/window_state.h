// What the main window keeps between messages: popup-menu conveniences,
// the clipboard-viewer chain, the drag in progress, and the instance's own
// handles. Process-wide, one per running copy.
#pragma once
#include <string>

#include "app/handoff.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"

// The private message the drop target sends for every drag event.
constexpr UINT dropNotifyMessage = 0x8082;
// A timer with a 0 ms period that defers work until the current message has
// returned.
constexpr UINT_PTR listMenuTimer = 620;
// A second copy that found no running copy to take its input looks again
// at every tick of this timer.
constexpr UINT_PTR handOffTimer = 630;

struct WindowState {
    HWND previousForeground = nullptr;  // foreground when the start-up ran
    int swallowClick = 0;               // a self-posted click is on its way
    HMENU lastMenu = nullptr;           // from the last WM_MENUSELECT
    int menuSelectedByMouse = 0;
    int clipboardWatch = 0;             // 1 while in the viewer chain
    HWND nextViewer = nullptr;
    DWORD clipboardSequence = 0;        // the clipboard's state last taken in
    UINT dragFormat = 0;                // CF_UNICODETEXT, CF_TEXT, CF_HDROP or 0
    std::u16string droppedPath;         // 259 units: first file of a file drag
};

struct InstanceState {
    HINSTANCE instance = nullptr;
    // Held by a first copy for its whole life: its existence is what makes
    // a later start a second copy. A second copy keeps its handle while it
    // waits, so that it can take the mutex over once the first copy ends.
    win::ScopedHandle instanceMutex;
    // A second copy's input while it waits for a running copy to take it,
    // and the tick at which the wait began.
    HandOff pendingHandOff;
    DWORD handOffWaitStarted = 0;
};

extern WindowState windowState;
extern InstanceState instanceState;
