// Menus of the list window.
#include "links/win32/list_menus.h"

namespace {

void appendItems(HMENU popup, const std::vector<ListMenuItem>& items) {
    for (const ListMenuItem& item : items) {
        if (item.separator)
            AppendMenuA(popup, MF_SEPARATOR, static_cast<UINT_PTR>(item.id), nullptr);
        else
            AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.text.c_str());
    }
}

}  // namespace

HMENU buildPopup(const std::vector<ListMenuItem>& items) {
    HMENU popup = CreatePopupMenu();
    if (popup) appendItems(popup, items);
    return popup;
}

win::ScopedMenu buildListMenuBar() {
    win::ScopedMenu bar(CreateMenu());
    if (!bar.get()) return bar;
    for (const ListMenuPopup& popup : menuBarPopups()) {
        win::ScopedMenu sub(buildPopup(popup.items));
        if (!sub.get()) continue;
        if (AppendMenuA(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.get()),
                        popup.text.c_str()))
            sub.release();  // the bar owns it now
    }
    appendItems(bar.get(), barCommands());
    return bar;
}

void applyMenuMarks(HMENU menu, const std::vector<ListMenuMark>& marks) {
    for (const ListMenuMark& mark : marks) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        info.fState = mark.checked ? MFS_CHECKED : 0;
        // By command: the item is found in whichever popup holds it.
        SetMenuItemInfoA(menu, static_cast<UINT>(mark.id), FALSE, &info);
    }
}
