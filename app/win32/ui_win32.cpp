// The Win32 window layer behind the routing: the association menu, the
// list window, a download's progress window, and closing the program.
#include "app/win32/ui_win32.h"

#include "app/win32/association_menu.h"
#include "app/win32/list_window_glue.h"
#include "app/win32/queued_input.h"
#include "app/win32/window_messages.h"
#include "launch/win32/progress_window.h"
#include "platform/ui_port.h"
#include "platform/win32/win.h"

namespace {

class Win32Ui final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle window, int toolsMenu,
                             int samePosition) override {
        ::showAssociationMenu(static_cast<HWND>(window), toolsMenu, samePosition);
    }
    bool createListWindow(platform::WindowHandle window) override {
        return openListWindow(static_cast<HWND>(window));
    }
    void fillListView(int captionOnly) override { refreshListWindow(captionOnly); }
    // At once, whatever work runs: the program itself has decided to end.
    void closeWindow(platform::WindowHandle window) override {
        closeMainWindow(static_cast<HWND>(window));
    }
    void queuedInputWaiting(platform::WindowHandle window) override {
        wakeForQueuedInput(static_cast<HWND>(window));
    }
    std::unique_ptr<ProgressWindow> openProgressWindow(platform::WindowHandle window,
                                                       const std::string& fileName) override {
        return ::openProgressWindow(static_cast<HWND>(window), fileName);
    }
};

Win32Ui win32Ui;

}  // namespace

void installWin32Ui() {
    installUi(&win32Ui);
    installWin32ListWindow();
}
