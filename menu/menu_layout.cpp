// Turning association rows into menu items. A "+" or "-" row asks for a
// separator or a column break before the next item appended; a group's end
// drops such a request, and so does the start of every build, so a mark
// left at the very end of a block never turns up in a later menu or in a
// group's submenu.
#include "menu/menu_layout.h"

#include "common/text.h"
#include "settings/association_table.h"

namespace {

enum class Break { none, separator, column };

class LayoutBuilder {
public:
    LayoutBuilder(AssociationTable& table, const MenuLayoutOptions& options)
        : table_(table), options_(options) {}

    // Appends the items of the rows from start + offset on that share that
    // row's level; returns the first row not used.
    int fill(MenuLayout& menu, int start, int offset) {
        int k = start + offset;
        if (k < 0 || k >= table_.itemCount) return k < 0 ? 0 : k;
        const int baseLevel = table_.items[k].level;
        while (k < table_.itemCount) {
            const AssociationItem& row = table_.items[k];
            if (row.level < baseLevel) break;
            if (row.level > baseLevel) {  // inside a nested group
                ++k;
                continue;
            }
            switch (row.kind) {
                case itemProgram:
                    if (row.subCount > 0) {
                        k = addProgramWithSubCommands(menu, k);
                        continue;
                    }
                    appendItem(menu, k, row.caption, false);
                    break;
                case itemPlusMark: requestBreak(Break::separator, k); break;
                case itemMinusMark: requestBreak(Break::column, k); break;
                case itemGroupOpen:
                    appendItem(menu, k, row.caption, false);
                    menu.back().flags |= menuItemGroup;
                    break;
                case itemGroupClose: pending_ = Break::none; break;
                default: break;
            }
            ++k;
        }
        return k;
    }

private:
    // A program with sub-commands: one item standing for its only
    // sub-command, or the program's item with a submenu of them.
    int addProgramWithSubCommands(MenuLayout& menu, int p) {
        AssociationItem& program = table_.items[p];
        MenuLayout submenu;
        int programItem = -1;  // position of p's item once appended
        auto addProgramItem = [&] {
            if (programItem >= 0) return;
            appendItem(menu, p, program.caption, false);
            programItem = static_cast<int>(menu.size()) - 1;
        };
        auto attachSubmenu = [&] {
            addProgramItem();
            menu[programItem].flags |= menuItemSubmenu;
            menu[programItem].children = std::move(submenu);
        };
        for (int i = p + 1; i < table_.itemCount; ++i) {
            AssociationItem& row = table_.items[i];
            const bool sole = row.kind == itemSoleSubCommand ||
                              (row.kind == itemSubCommand && program.subCount == 1);
            if (sole) {
                row.kind = itemSoleSubCommand;
                std::string label = program.caption;
                if (options_.subCommandMark != 0) label += " *";
                appendItem(menu, i, label, false);
                return i + 1;
            }
            if (row.kind == itemPlusMark || row.kind == itemMinusMark) {
                addProgramItem();
                requestBreak(row.kind == itemPlusMark ? Break::separator : Break::column, i);
            } else if (row.kind == itemSubCommand) {
                addProgramItem();
                appendItem(submenu, i, row.caption, true);
            } else {
                attachSubmenu();
                return i;
            }
        }
        attachSubmenu();
        return table_.itemCount;
    }

    void appendItem(MenuLayout& menu, int k, const std::string& label, bool noIcon) {
        if (pending_ == Break::separator) {
            MenuItemDef separator;
            separator.id = menuIdRowBase + pendingRow_;
            separator.flags = menuItemSeparator;
            menu.push_back(std::move(separator));
        }
        MenuItemDef item;
        item.id = menuIdRowBase + k;
        if (pending_ == Break::column) item.flags |= menuItemColumnBreak;
        if (options_.showIcons == 1 && !noIcon) {
            item.label = " " + label;
            item.iconSource = iconFor(k);
        } else {
            item.label = label;
        }
        menu.push_back(std::move(item));
        pending_ = Break::none;
    }

    // "@system" programs show the program's own icon, other programs the
    // icon of their file; anything else the icon of the program's folder.
    int iconFor(int k) const {
        const AssociationItem& row = table_.items[k];
        int program = -1;
        if (row.kind == itemProgram) program = k;
        else if (row.kind == itemSoleSubCommand && row.owner >= 0 && row.owner < table_.itemCount)
            program = row.owner;
        if (program < 0) return iconProgramFolder;
        if (text::containsNoCase(table_.items[program].command, "@system")) return iconSystem;
        return program;
    }

    void requestBreak(Break kind, int markRow) {
        pending_ = kind;
        pendingRow_ = markRow;
    }

    AssociationTable& table_;
    MenuLayoutOptions options_;
    Break pending_ = Break::none;
    int pendingRow_ = 0;
};

}  // namespace

MenuLayout buildAssociationLayout(AssociationTable& table, int start, int offset,
                                  const MenuLayoutOptions& options) {
    MenuLayout menu;
    LayoutBuilder(table, options).fill(menu, start, offset);
    return menu;
}

MenuLayout associationMenuLayout(AssociationTable& table, const std::string& titleText,
                                 const MenuLayoutOptions& options) {
    MenuLayout menu = buildAssociationLayout(table, 0, 0, options);
    MenuItemDef separator;
    separator.id = menuIdTitleSeparator;
    separator.flags = menuItemSeparator;
    menu.push_back(std::move(separator));
    MenuItemDef title;
    title.id = menuIdTitle;
    if (options.showIcons == 1) {
        title.label = " " + titleText;
        title.iconSource = iconSystem;
    } else {
        title.label = titleText;
    }
    menu.push_back(std::move(title));
    return menu;
}
