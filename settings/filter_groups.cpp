// Filter groups of the link list window.
#include "settings/filter_groups.h"

#include "common/capacity.h"
#include "common/text.h"
#include "settings/settings.h"

namespace {
constexpr int maxItemsPerGroup = 10;
}

void resetFilterGroups() {
    const int selected = filterGroups.selectedFilterGroup;
    filterGroups = FilterGroups{};
    filterGroups.selectedFilterGroup = selected;
    filterGroups.groups[0].items[0] = ".*";
    filterGroups.groups[0].count = 1;
    filterGroups.groupCount = 1;
}

void addFilterGroup(std::string_view items) {
    // A later "@filter" after all groups are taken must not write past them.
    if (filterGroups.groupCount >= static_cast<int>(filterGroups.groups.size())) return;
    FilterGroup group;
    std::size_t pos = 0;
    while (pos < items.size() && group.count < maxItemsPerGroup) {
        std::size_t end = text::findByte(items, ';', pos);
        if (end == text::npos) end = items.size();
        std::string item = text::cut(items.substr(pos, end - pos), cap::filterItem);
        if (!item.empty()) group.items[group.count++] = std::move(item);
        pos = end + 1;
    }
    if (group.count > 0) filterGroups.groups[filterGroups.groupCount++] = std::move(group);
}
