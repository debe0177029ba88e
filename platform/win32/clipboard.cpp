// The clipboard's text, read once and copied out at once: CF_TEXT, and
// CF_UNICODETEXT for text the code page cannot hold.
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

bool Win32Platform::clipboardWideText(WindowHandle owner, std::u16string& out,
                                      std::size_t maxUnits) {
    out.clear();
    if (maxUnits == 0 || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
    win::ScopedClipboard clipboard(static_cast<HWND>(owner));
    if (!clipboard.open()) return false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return false;
    win::ScopedGlobalLock<const char16_t> text(static_cast<HGLOBAL>(data));
    if (!text.get()) return false;
    const std::size_t units = text.size() / sizeof(char16_t);
    std::size_t length = 0;
    while (length < units && length < maxUnits - 1 && text.get()[length] != 0) ++length;
    out.assign(text.get(), length);
    return !out.empty();
}

}  // namespace platform
