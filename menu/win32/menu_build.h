// Real menus from item tables, and the filling of a group's submenu when
// it is about to open.
#pragma once
#include "menu/menu_layout.h"
#include "platform/win32/win.h"

// Appends the items to `menu`: separators, text items, items with their
// icon bitmaps, column breaks, and submenus (groups stay empty).
void appendLayout(HMENU menu, const MenuLayout& items);

// WM_INITMENUPOPUP: when the item at `position` of `parentMenu` opens a
// group of the association table, fills `popup` with the group's items.
void fillGroupOnOpen(HMENU parentMenu, HMENU popup, UINT position);
