// Row operations of the link list window.
#include "links/list_rows_ops.h"

#include <vector>

#include "common/capacity.h"
#include "common/text.h"
#include "links/list_file.h"
#include "links/list_state.h"
#include "settings/settings.h"

namespace {

// Row texts are read back with the capacities of the buffers the format
// was designed around.
constexpr std::size_t compareUrlCapacity = cap::path;  // 259 characters

bool kindPasses(const UrlEntry& entry) {
    switch (listWindow.kindFilter) {
        case showAnchorsOnly: return entry.kind == Anchor;
        case showImagesOnly: return entry.kind == Image;
        default: return true;
    }
}

bool extensionPasses(const UrlEntry& entry) {
    const int selected = filterGroups.selectedFilterGroup;
    if (selected <= 0) return true;
    if (selected >= filterGroups.groupCount) return false;
    const FilterGroup& group = filterGroups.groups[selected];
    for (int i = 0; i < group.count; ++i)
        if (text::equalsNoCase(entry.extension, group.items[i])) return true;
    return false;
}

}  // namespace

bool entryPassesFilters(const UrlEntry& entry) { return kindPasses(entry) && extensionPasses(entry); }

std::string rowTitle(const UrlEntry& entry) {
    return entry.kind == Image ? "* " + entry.title : entry.title;
}

void fillRows(ListRows& rows) {
    RowChanges batch(rows);
    rows.clear();
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i) {
        const UrlEntry& entry = urlList.entries[i];
        if (entryPassesFilters(entry)) rows.append(rowTitle(entry), entry.url);
    }
}

void setCheckStates(ListRows& rows, int code) {
    RowChanges batch(rows);
    const int n = rows.count();
    for (int row = 0; row < n; ++row) {
        if (code == checkAll) rows.setChecked(row, true);
        else if (code == uncheckAll) rows.setChecked(row, false);
        else rows.setChecked(row, !rows.checked(row));
    }
}

void removeDuplicateRows(ListRows& rows) {
    // The URLs are read once; deleting from the end keeps the indexes of
    // the rows still to be looked at valid.
    const int n = rows.count();
    std::vector<std::string> urls;
    urls.reserve(static_cast<std::size_t>(n));
    for (int row = 0; row < n; ++row)
        urls.push_back(text::cut(rows.text(row, urlColumn), compareUrlCapacity));
    std::vector<bool> repeated(static_cast<std::size_t>(n), false);
    for (int j = 0; j < n; ++j) {
        if (repeated[j]) continue;
        for (int k = j + 1; k < n; ++k)
            if (!repeated[k] && text::equalsNoCase(urls[j], urls[k])) repeated[k] = true;
    }
    RowChanges batch(rows);
    for (int row = n - 1; row >= 0; --row)
        if (repeated[row]) rows.remove(row);
}

std::string listFileText(ListRows& rows, bool withTitles, const std::string& separator) {
    std::string out;
    const int n = rows.count();
    for (int row = 0; row < n; ++row) {
        if (!rows.checked(row)) continue;
        out += formatListLine(rows.text(row, urlColumn),
                              withTitles ? rows.text(row, titleColumn) : std::string(), separator);
    }
    return out;
}
