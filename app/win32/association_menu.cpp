// Composes the popup: the item table (menu/), the real menu and its hook
// (menu/win32/), the placement, tracking, the key-release wait and the
// command chosen (app/).
#include "app/win32/association_menu.h"

#include "app/menu_choice.h"
#include "app/win32/bring_to_front.h"
#include "app/win32/window_state.h"
#include "common/app_state.h"
#include "common/text.h"
#include "menu/key_wait.h"
#include "menu/menu_layout.h"
#include "menu/menu_position.h"
#include "menu/menu_state.h"
#include "menu/menu_title.h"
#include "menu/tools_menu.h"
#include "menu/win32/menu_build.h"
#include "menu/win32/menu_hook.h"
#include "menu/win32/menu_resources.h"
#include "platform/win32/dpi.h"
#include "platform/win32/scoped_gui.h"
#include "settings/association_table.h"
#include "settings/settings.h"

namespace {

PlacementInput placementInput(int samePosition) {
    PlacementInput in;
    in.menuPosition = settings.menuPosition;
    in.menuX = settings.menuX;
    in.menuY = settings.menuY;
    in.screenWidth = runState.screenWidth;
    in.maximizedHeight = runState.maximizedHeight;
    in.mouseButtonCount = runState.mouseButtonCount;
    POINT cursor{};
    if (GetCursorPos(&cursor)) {
        in.cursorX = cursor.x;
        in.cursorY = cursor.y;
    }
    RECT r{};
    HWND foreground = windowState.previousForeground;
    if (foreground && IsWindow(foreground) && GetWindowRect(foreground, &r)) {
        in.haveForeground = true;
        in.foreground = {r.left, r.top, r.right, r.bottom};
    }
    in.samePosition = samePosition;
    in.last = menuState.lastMenuPosition;
    return in;
}

void fillMenu(HMENU menu, int toolsMenu) {
    if (toolsMenu != 0) {
        appendLayout(menu, toolsMenuLayout(programPaths.settingsPath, settings.alternatePath));
        return;
    }
    text::assignCut(menuState.titleItemText, associationMenuTitle(), titleItemCapacity);
    const MenuLayoutOptions options{settings.showIcons, settings.subCommandMark};
    appendLayout(menu, associationMenuLayout(associationTable, menuState.titleItemText, options));
}

// Shows the menu and returns the chosen identifier, 0 when it was dismissed.
int trackMenu(HWND owner, int toolsMenu, int samePosition) {
    menuState.menuOpen = 1;
    win::ScopedMenu menu(CreatePopupMenu());
    int chosen = 0;
    if (menu) {
        const MenuPlacement placement = chooseMenuPlacement(placementInput(samePosition));
        // The item bitmaps are made for the display the menu shows on.
        menuResources.dpi = dpiAtPoint(POINT{placement.x, placement.y});
        fillMenu(menu.get(), toolsMenu);
        menuState.lastMenuPosition = placement;
        menuState.choiceShiftFlag = 0;
        MenuHook hook(owner);
        if (settings.activateMenuWindow == 1) bringToFront(owner);
        else SetForegroundWindow(owner);
        chosen = static_cast<int>(TrackPopupMenu(menu.get(),
                                                 trackReturnCommand | trackRightButton | placement.flags,
                                                 placement.x, placement.y, 0, owner, nullptr));
        // Lets the menu's own loop end cleanly before the next message.
        PostMessageA(owner, WM_NULL, 0, 0);
    }
    menu.reset();
    menuState.menuOpen = 0;
    releaseItemBitmaps();
    // The menu that handle named is gone; a later menu starts afresh.
    windowState.lastMenu = nullptr;
    return chosen;
}

}  // namespace

void showAssociationMenu(HWND owner, int toolsMenu, int samePosition) {
    const int chosen = trackMenu(owner, toolsMenu, samePosition);
    const KeysAtChoice keys = waitForKeyRelease(owner);
    carryOutMenuChoice(owner, chosen, keys.ctrl);
}
