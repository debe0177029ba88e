// The association menu as a table of item definitions, built from the rows
// of the association table: programs, a program's single sub-command shown
// in its place, submenus of sub-commands, groups filled when they open,
// separators and column breaks, and which icon each item carries. The
// window layer turns the table into a real menu.
#pragma once
#include <string>
#include <vector>

struct AssociationTable;

// Menu item identifiers.
enum MenuId : int {
    menuIdRowBase = 1000,     // + row index (separators of mark rows too)
    menuIdTitle = 1250,
    menuIdTitleSeparator = 1300,
    menuIdToolsSeparator = 1500,
    menuIdMainSettings = 1520,
    menuIdAlternateSettings = 1530,
    menuIdHelp = 1540,
    menuIdVersion = 1550,
    menuIdClipboard = 1560,
    menuIdList = 1570,
};

enum MenuItemFlags : unsigned {
    menuItemSeparator = 1u << 0,
    menuItemColumnBreak = 1u << 1,  // starts a new column
    menuItemGroup = 1u << 2,        // an empty submenu, filled when it opens
    menuItemSubmenu = 1u << 3,      // a submenu holding `children`
};

// Where an item's icon comes from.
enum IconSource : int {
    iconNone = -3,           // a plain text item
    iconSystem = -2,         // the program's own "MYSYS" icon
    iconProgramFolder = -1,  // the icon of the program's folder
    // 0 and above: the icon of the file that row's command names
};

struct MenuItemDef {
    int id = 0;
    std::string label;  // as shown, with the leading space of icon items
    unsigned flags = 0;
    int iconSource = iconNone;
    std::vector<MenuItemDef> children;  // menuItemSubmenu only
};

using MenuLayout = std::vector<MenuItemDef>;

struct MenuLayoutOptions {
    int showIcons = 0;
    int subCommandMark = 1;
};

// The items of the rows from start + offset on, at that row's level: (0, 0)
// for the whole menu, (k, 1) for the submenu of the group that row k opens.
// A layout mark never carries over from an earlier build. Marks the rows
// that are their program's only sub-command as such, as the carrying out
// of a choice reads them.
MenuLayout buildAssociationLayout(AssociationTable& table, int start, int offset,
                                  const MenuLayoutOptions& options);

// The association menu: the rows' items, then a separator and the title
// item (`titleText` as the menu shows it).
MenuLayout associationMenuLayout(AssociationTable& table, const std::string& titleText,
                                 const MenuLayoutOptions& options);
