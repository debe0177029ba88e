// The window layer in use, with a silent stand-in until one is installed.
#include "platform/ui_port.h"

namespace {
class SilentUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return false; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override {}
};
SilentUi silentUi;
UiPort* current = nullptr;
}  // namespace

UiPort& ui() { return current ? *current : silentUi; }

UiPort* installUi(UiPort* port) {
    UiPort* previous = current;
    current = port;
    return previous;
}
