// The association menu of a dry run as Tavrin would show it: each item
// with its key and what it stands for, and what choosing it would do, in
// words or as tab-separated lines.
#pragma once
#include <string>
#include <vector>

#include "check/dry_run.h"
#include "common/url_list.h"
#include "menu/menu_layout.h"

// The menu for the targets, as the association table of the dispatch
// left it.
MenuLayout menuAsShown(const std::vector<UrlEntry>& targets, const MenuLayoutOptions& options);

// What an item stands for: its program and sub-command as written.
std::string itemDetail(const Report& r, const MenuItemDef& item);

struct MenuWriter {
    Report* text = nullptr;     // the words, or
    std::string* tsv = nullptr;  // the tab-separated lines
    DryRun& run;
    const std::vector<UrlEntry>& targets;
    MenuLayoutOptions options;

    // Writes the items of `menu` (and of its submenus) at `depth`.
    void write(const MenuLayout& menu, int depth);
};
