// The list window's menu bar and the row menu, built from the tables of
// links/list_menu_items.h.
#pragma once
#include <vector>

#include "links/list_menu_items.h"
#include "platform/win32/scoped_gui.h"
#include "platform/win32/win.h"

// A popup holding the items of the table, unchecked.
HMENU buildPopup(const std::vector<ListMenuItem>& items);
// The bar with its four popups and two commands.
win::ScopedMenu buildListMenuBar();
// Sets each listed item's check mark (searched through the submenus of
// `menu`); the one place check marks of the list window are set.
void applyMenuMarks(HMENU menu, const std::vector<ListMenuMark>& marks);
