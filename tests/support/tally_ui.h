// A window layer for unit tests that does nothing but count what the core
// asked of it; the list window exists or not as the test says.
#pragma once
#include "platform/ui_port.h"

class TallyUi final : public UiPort {
public:
    explicit TallyUi(bool listAvailable = false) : listAvailable(listAvailable) {}
    void showAssociationMenu(platform::WindowHandle, int, int) override { ++menus; }
    bool createListWindow(platform::WindowHandle) override {
        ++listWindows;
        return listAvailable;
    }
    void fillListView(int) override { ++fills; }
    void closeWindow(platform::WindowHandle) override { ++closed; }

    bool listAvailable;
    int menus = 0;
    int listWindows = 0;
    int fills = 0;
    int closed = 0;
};
