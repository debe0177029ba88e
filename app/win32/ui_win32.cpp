// The Win32 window layer behind the routing: the list window, and closing
// the program. The association menu arrives with its own window; until
// then it shows nothing.
#include "app/win32/ui_win32.h"

#include "app/win32/list_window_glue.h"
#include "platform/ui_port.h"
#include "platform/win32/win.h"

namespace {

class Win32Ui final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle window) override {
        return openListWindow(static_cast<HWND>(window));
    }
    void fillListView(int captionOnly) override { refreshListWindow(captionOnly); }
    void closeWindow(platform::WindowHandle window) override {
        SendMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    }
};

Win32Ui win32Ui;

}  // namespace

void installWin32Ui() {
    installUi(&win32Ui);
    installWin32ListWindow();
}
