// Row operations of the link list window.
#include "links/list_rows_ops.h"

#include <set>
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

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isSchemeCharacter(char c) {
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Lowers the single-byte letters of s[from, to); `from` is a character
// boundary, and the walk keeps to them.
void lowerAscii(std::string& s, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < s.size();) {
        if (s[i] >= 'A' && s[i] <= 'Z') s[i] = static_cast<char>(s[i] - 'A' + 'a');
        i += text::charLength(s, i);
    }
}

}  // namespace

std::string urlComparisonKey(std::string_view url) {
    std::string key(url);
    std::size_t schemeEnd = 0;
    if (!key.empty() && isAsciiLetter(key[0]))
        while (schemeEnd < key.size() && isSchemeCharacter(key[schemeEnd])) ++schemeEnd;
    // One letter before ':' is a drive, not a scheme.
    if (schemeEnd < 2 || schemeEnd >= key.size() || key[schemeEnd] != ':') return key;
    lowerAscii(key, 0, schemeEnd);
    if (key.compare(schemeEnd, 3, "://") != 0) return key;  // "mailto:" has no host

    // The authority runs to the first '/', '?', '#' or '\'; its host
    // follows the last '@'. ('@' and '\' may be trail bytes: the walk
    // keeps to character boundaries.)
    const std::size_t authority = schemeEnd + 3;
    std::size_t host = authority, end = authority;
    while (end < key.size()) {
        const char c = key[end];
        if (c == '/' || c == '?' || c == '#' || c == '\\') break;
        const std::size_t step = text::charLength(key, end);
        if (step == 1 && c == '@') host = end + 1;
        end += step;
    }
    lowerAscii(key, host, end);
    return key;
}

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
    std::set<std::string> seen;
    std::vector<bool> repeated(static_cast<std::size_t>(n), false);
    for (int row = 0; row < n; ++row) {
        const std::string url = text::cut(rows.text(row, urlColumn), compareUrlCapacity);
        repeated[static_cast<std::size_t>(row)] = !seen.insert(urlComparisonKey(url)).second;
    }
    RowChanges batch(rows);
    for (int row = n - 1; row >= 0; --row)
        if (repeated[row]) rows.remove(row);
}

int checkedRowCount(ListRows& rows) {
    int checked = 0;
    const int n = rows.count();
    for (int row = 0; row < n; ++row)
        if (rows.checked(row)) ++checked;
    return checked;
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
