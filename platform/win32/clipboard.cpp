// The clipboard's CF_TEXT, read once and copied out at once.
#include <cstring>

#include "common/text.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

bool Win32Platform::clipboardText(WindowHandle owner, std::string& out, std::size_t maxBytes) {
    out.clear();
    if (!IsClipboardFormatAvailable(CF_TEXT)) return false;
    win::ScopedClipboard clipboard(static_cast<HWND>(owner));
    if (!clipboard.open()) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return false;
    win::ScopedGlobalLock<const char> text(static_cast<HGLOBAL>(data));
    if (!text.get()) return false;
    // Another program's block need not end in a zero: never read past it.
    std::size_t length = strnlen(text.get(), text.size());
    if (length == 0) return false;
    out = text::cut(std::string_view(text.get(), length), maxBytes);
    return !out.empty();
}

}  // namespace platform
