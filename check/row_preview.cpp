// Carrying out one menu item for a preview: the targets put back, then the
// menu's own choice.
#include "check/row_preview.h"

#include "app/menu_choice.h"
#include "menu/menu_layout.h"
#include "menu/menu_state.h"
#include "settings/association_table.h"

namespace {

void restoreTargets(const std::vector<UrlEntry>& targets) {
    std::size_t count = 0;
    for (; count < targets.size() && count < static_cast<std::size_t>(maxUrlEntries); ++count)
        urlList.entries[count] = targets[count];
    urlList.urlCount = static_cast<int>(count);
}

}  // namespace

void chooseMenuItemDry(int id, const std::vector<UrlEntry>& targets) {
    if (targets.empty()) return;
    restoreTargets(targets);
    menuState.choiceShiftFlag = 0;
    carryOutMenuChoice(nullptr, id, 0);
}

void chooseRowDry(int k, const std::vector<UrlEntry>& targets) {
    if (k < 0 || k >= associationTable.itemCount) return;
    chooseMenuItemDry(menuIdRowBase + k, targets);
}
