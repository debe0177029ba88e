// The main window's close handling, its part in the clipboard-viewer chain
// and its answer to drags.
#include "app/win32/window_messages.h"

#include <utility>

#include "app/input_queue.h"
#include "app/win32/queued_input.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "links/wide_text.h"
#include "links/win32/list_window.h"

void closeMainWindow(HWND window) {
    // What waits would find no window to go to.
    clearQueuedInput();
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
        // The wide name: the ANSI one has lost what the code page lacks.
        WCHAR path[cap::path] = {};
        if (notice.data) DragQueryFileW(static_cast<HDROP>(notice.data), 0, path, cap::path - 1);
        windowState.droppedPath.assign(reinterpret_cast<const char16_t*>(path));
    } else if (notice.format == CF_UNICODETEXT || notice.format == CF_TEXT) {
        notice.effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    } else {
        notice.effect = DROPEFFECT_NONE;
    }
}

// The text of a dropped block up to its first zero (or its end); false
// when the block cannot be locked.
template <typename Char>
bool blockText(HGLOBAL data, std::basic_string<Char>& text) {
    const void* locked = data ? GlobalLock(data) : nullptr;
    if (!locked) return false;
    const std::size_t size = GlobalSize(data) / sizeof(Char);
    const Char* chars = static_cast<const Char*>(locked);
    std::size_t length = 0;
    while (length < size && chars[length] != 0) ++length;
    text.assign(chars, length);
    GlobalUnlock(data);
    return true;
}

// The drop is copied whole and queued; it is routed once Drop has
// returned, so the program it was dragged from goes on at once.
void onDrop(HWND window, const DropNotice& notice) {
    QueuedInput input;
    input.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 0;
    if (windowState.dragFormat == CF_HDROP) {
        input.kind = InputKind::fileDrop;
        input.text = wideToCp932(windowState.droppedPath, WideText::path);
    } else if (windowState.dragFormat == CF_UNICODETEXT) {
        std::u16string text;
        if (!blockText(notice.data, text)) return;
        input.kind = InputKind::textDrop;
        input.text = wideToCp932(text, WideText::input);
    } else if (windowState.dragFormat == CF_TEXT) {
        if (!blockText(notice.data, input.text)) return;
        input.kind = InputKind::textDrop;
    } else {
        return;
    }
    queueInputAndWake(window, std::move(input));
}

}  // namespace

void onDropNotice(HWND window, WPARAM code, DropNotice* notice) {
    if (!notice) return;
    if (code == dropEnter) onDragEnter(*notice);
    else if (code == dropDrop) onDrop(window, *notice);
}
