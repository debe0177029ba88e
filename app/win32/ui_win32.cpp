// The Win32 window layer behind the routing. The association menu and the
// list window arrive with their own windows; until then the menu shows
// nothing and no list window can be opened, so every start ends.
#include "app/win32/ui_win32.h"

#include "platform/ui_port.h"
#include "platform/win32/win.h"

namespace {

class Win32Ui final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return false; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle window) override {
        SendMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    }
};

Win32Ui win32Ui;

}  // namespace

void installWin32Ui() { installUi(&win32Ui); }
