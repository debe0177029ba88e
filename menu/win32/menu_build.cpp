// HMENU construction: plain items with AppendMenuA, items with an icon with
// InsertMenuItemA (text and bitmap), submenus attached to their item.
#include "menu/win32/menu_build.h"

#include <vector>

#include "menu/win32/menu_resources.h"
#include "platform/win32/scoped_gui.h"
#include "settings/association_table.h"
#include "settings/settings.h"

namespace {

bool appendIconItem(HMENU menu, const MenuItemDef& item) {
    std::vector<char> label(item.label.begin(), item.label.end());
    label.push_back('\0');
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
    if (item.flags & menuItemColumnBreak) {
        info.fMask |= MIIM_FTYPE;
        info.fType = MFT_MENUBARBREAK;
    }
    info.wID = static_cast<UINT>(item.id);
    info.dwTypeData = label.data();
    info.cch = static_cast<UINT>(item.label.size());
    info.hbmpItem = itemBitmapFor(item.iconSource);
    return InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info) != FALSE;
}

bool appendItem(HMENU menu, const MenuItemDef& item) {
    if (item.flags & menuItemSeparator)
        return AppendMenuA(menu, MF_SEPARATOR, static_cast<UINT_PTR>(item.id), nullptr) != FALSE;
    if (item.iconSource != iconNone) return appendIconItem(menu, item);
    const UINT flags = MF_STRING | ((item.flags & menuItemColumnBreak) ? MF_MENUBARBREAK : 0);
    return AppendMenuA(menu, flags, static_cast<UINT_PTR>(item.id), item.label.c_str()) != FALSE;
}

// The submenu of the item just appended at `position`.
void attachSubmenu(HMENU menu, int position, const MenuItemDef& item) {
    win::ScopedMenu submenu(CreatePopupMenu());
    if (!submenu) return;
    if (item.flags & menuItemSubmenu) appendLayout(submenu.get(), item.children);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = submenu.get();
    if (SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) submenu.release();
}

}  // namespace

void appendLayout(HMENU menu, const MenuLayout& items) {
    for (const MenuItemDef& item : items) {
        if (!appendItem(menu, item)) continue;
        if (item.flags & (menuItemGroup | menuItemSubmenu))
            attachSubmenu(menu, GetMenuItemCount(menu) - 1, item);
    }
}

void fillGroupOnOpen(HMENU parentMenu, HMENU popup, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    if (!GetMenuItemInfoA(parentMenu, position, TRUE, &info)) return;
    const int k = static_cast<int>(info.wID) - menuIdRowBase;
    if (k < 0 || k >= associationTable.itemCount || associationTable.items[k].kind != itemGroupOpen)
        return;
    // DeleteMenu destroys the submenus of the items it removes.
    for (int n = GetMenuItemCount(popup); n > 0; --n) DeleteMenu(popup, static_cast<UINT>(n - 1), MF_BYPOSITION);
    const MenuLayoutOptions options{settings.showIcons, settings.subCommandMark};
    appendLayout(popup, buildAssociationLayout(associationTable, k, 1, options));
}
