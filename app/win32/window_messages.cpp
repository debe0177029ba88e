// The main window's close handling, its part in the clipboard-viewer chain
// and its answer to drags.
#include "app/win32/window_messages.h"

#include "app/routing.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "links/win32/list_window.h"

void closeMainWindow(HWND window) {
    if (runState.dropRegistered == 1) {
        RevokeDragDrop(window);
        runState.dropRegistered = 0;
    }
    if (windowState.clipboardWatch == 1) {
        ChangeClipboardChain(window, windowState.nextViewer);
        windowState.clipboardWatch = 0;
    }
    releaseListWindowParts(window);
    DestroyWindow(window);
}

void onChangeClipboardChain(HWND removed, HWND next) {
    if (removed == windowState.nextViewer) {
        windowState.nextViewer = next;
    } else if (windowState.nextViewer) {
        SendMessageA(windowState.nextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(next));
    }
}

namespace {

void onDragEnter(DropNotice& notice) {
    windowState.dragFormat = notice.format;
    if (notice.format == CF_HDROP) {
        notice.effect = DROPEFFECT_COPY;
        char path[cap::path] = {};
        if (notice.data) DragQueryFileA(static_cast<HDROP>(notice.data), 0, path, cap::path - 1);
        windowState.droppedPath = path;
    } else if (notice.format == CF_TEXT) {
        notice.effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    } else {
        notice.effect = DROPEFFECT_NONE;
    }
}

// The data stays valid until the drop target releases the medium after
// this message returns; the text is copied before routing all the same.
void onDrop(HWND window, const DropNotice& notice) {
    if (windowState.dragFormat == CF_HDROP) {
        routeDroppedFile(window, windowState.droppedPath);
    } else if (windowState.dragFormat == CF_TEXT) {
        const void* locked = notice.data ? GlobalLock(notice.data) : nullptr;
        if (!locked) return;
        const std::size_t size = GlobalSize(notice.data);
        const char* bytes = static_cast<const char*>(locked);
        std::size_t length = 0;
        while (length < size && bytes[length] != '\0') ++length;
        std::string text(bytes, length);
        GlobalUnlock(notice.data);
        routeDroppedText(window, text);
    }
}

}  // namespace

void onDropNotice(HWND window, WPARAM code, DropNotice* notice) {
    if (!notice) return;
    if (code == dropEnter) onDragEnter(*notice);
    else if (code == dropDrop) onDrop(window, *notice);
}
