// The clipboard's text, read once and copied out at once: CF_TEXT, and
// the wide text for what the code page cannot hold, from the format the
// copying program gave.
#include <algorithm>
#include <cstring>

#include "common/text.h"
#include "platform/win32/code_page.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// The text format the copying program gave: the first of them in the
// clipboard's order, the others being the system's copies of it.
UINT givenTextFormat() {
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        if (format == CF_UNICODETEXT || format == CF_TEXT || format == CF_OEMTEXT) return format;
    return 0;
}

// The code page of the copying program's CF_TEXT or CF_OEMTEXT: its
// locale's, which the system stores beside the text.
UINT givenCodePage(UINT format) {
    LCID locale = GetUserDefaultLCID();
    if (HANDLE data = GetClipboardData(CF_LOCALE)) {
        win::ScopedGlobalLock<const LCID> given(static_cast<HGLOBAL>(data));
        if (given.get() && given.size() >= sizeof(LCID)) locale = *given.get();
    }
    const LCTYPE which = format == CF_TEXT ? LOCALE_IDEFAULTANSICODEPAGE : LOCALE_IDEFAULTCODEPAGE;
    UINT codePage = 0;
    if (!GetLocaleInfoW(locale, which | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&codePage),
                        sizeof codePage / sizeof(WCHAR)) ||
        codePage == 0)
        codePage = format == CF_TEXT ? CP_ACP : CP_OEMCP;
    return codePage;
}

}  // namespace

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
    const UINT given = givenTextFormat();
    if (given == CF_TEXT || given == CF_OEMTEXT) {
        // Widened here as the system would: asking for its CF_UNICODETEXT
        // makes the system store a copy in this program, and Wine keeps
        // each one for as long as the program runs.
        HANDLE data = GetClipboardData(given);
        if (!data) return false;
        win::ScopedGlobalLock<const char> text(static_cast<HGLOBAL>(data));
        if (!text.get()) return false;
        // No code page spends more than four bytes on one UTF-16 unit, so
        // this many bytes give maxUnits units at least.
        const std::size_t most = maxUnits > text.size() / 4 ? text.size() : maxUnits * 4;
        out = wideFromCodePage(givenCodePage(given), std::string_view(text.get(), strnlen(text.get(), most)));
        out.resize(std::min(out.size(), maxUnits - 1));
        return !out.empty();
    }
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
