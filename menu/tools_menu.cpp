// The tools menu's items, from one table.
#include "menu/tools_menu.h"

#include "common/split_path.h"

namespace {

// The file name of a settings path with the item's key, "Tavrin.ini ( &1 )".
std::string settingsItemLabel(const std::string& path, const char* key) {
    const PathParts parts = splitPath(path);
    return parts.name + parts.extension + " ( " + key + " )";
}

}  // namespace

MenuLayout toolsMenuLayout(const std::string& settingsPath, const std::string& alternatePath) {
    struct Row {
        int id;
        std::string label;
    };
    const Row rows[] = {
        {menuIdList, "&List"},
        {menuIdClipboard, "&Clipboard"},
        {menuIdToolsSeparator, ""},
        {menuIdMainSettings, settingsItemLabel(settingsPath, "&1")},
        {menuIdAlternateSettings, settingsItemLabel(alternatePath, "&2")},
        {menuIdToolsSeparator, ""},
        {menuIdHelp, "&Help"},
        {menuIdVersion, "&Version"},
    };
    MenuLayout menu;
    for (const Row& row : rows) {
        MenuItemDef item;
        item.id = row.id;
        item.label = row.label;
        if (row.id == menuIdToolsSeparator) item.flags = menuItemSeparator;
        menu.push_back(std::move(item));
    }
    return menu;
}
