// Shortcut folders: every Internet shortcut of a folder, and with
// includeSubfolders of all its subfolders first (depth first, in listing
// order), becomes a list entry until the list holds 500.
#include "links/shortcut_folder.h"

#include <vector>

#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "links/link_entry.h"
#include "links/link_tests.h"
#include "template/url_parts.h"

ShortcutScan shortcutScan;

namespace {

bool isDotEntry(const std::string& name) { return name == "." || name == ".."; }

// Adds the shortcut at `path` when it holds a usable URL; its title is the
// file's name as shown (`shownName`, when the path holds the short name).
void addShortcut(const std::string& path, const std::string& shownName) {
    const PathParts parts = splitPath(path);
    if (!text::containsNoCase(parts.extension, ".url")) return;
    const std::string url = readShortcutUrl(path);
    if (url.empty() || !crackUrl(url)) return;
    UrlEntry& entry = urlList.entries[static_cast<std::size_t>(shortcutScan.shortcutCount)];
    const std::string title = shownName.empty() ? parts.name : splitPath(shownName).name;
    fillLinkEntry(entry, url, title, Anchor);
    ++shortcutScan.shortcutCount;
}

}  // namespace

void collectShortcuts(platform::WindowHandle window, const std::string& folder) {
    if (shortcutScan.shortcutCount >= maxUrlEntries) shortcutScan.shortcutListFull = 1;
    if (shortcutScan.shortcutListFull) return;
    const std::string base = endsWithBackslash(folder) ? folder : folder + "\\";
    // The listing pattern and every path below must fit the 260-byte paths
    // of the file functions; a deeper folder (or a loop of junctions) ends
    // here.
    if (base.size() + 3 >= cap::path) return;
    platform::Platform& os = platform::os();
    std::vector<platform::FolderEntry> entries;

    if (shortcutScan.includeSubfolders == 1) {
        if (!os.listFolder(base, entries)) return;
        for (const platform::FolderEntry& entry : entries) {
            if (!entry.isDirectory || isDotEntry(entry.name)) continue;
            collectShortcuts(window, base + entry.name);
            if (shortcutScan.shortcutListFull) return;
        }
    }

    if (!os.listFolder(base, entries)) return;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isDirectory || isDotEntry(entry.name)) continue;
        const std::string path = base + entry.name;
        if (path.size() >= cap::path) continue;
        addShortcut(path, entry.shownName);
        if (shortcutScan.shortcutCount >= maxUrlEntries) {
            shortcutScan.shortcutListFull = 1;
            return;
        }
    }
}
