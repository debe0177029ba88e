// Messages the user must see, and the foreground request made before one.
// Boxes are shown in their wide form: they read as the program wrote them
// whatever code page the system reads ANSI text in.
#include "platform/win32/code_page.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

int Win32Platform::messageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned flags) {
    return MessageBoxW(static_cast<HWND>(owner), wideChars(wideFromCp932(text)),
                       wideChars(wideFromCp932(caption)), flags);
}

void Win32Platform::setForeground(WindowHandle window) {
    SetForegroundWindow(static_cast<HWND>(window));
}

}  // namespace platform
