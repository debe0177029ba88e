// Messages the user must see, and the foreground request made before one.
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

int Win32Platform::messageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned flags) {
    return MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

void Win32Platform::setForeground(WindowHandle window) {
    SetForegroundWindow(static_cast<HWND>(window));
}

}  // namespace platform
