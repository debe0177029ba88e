// Clearing a folder such as the temporary folder: everything inside it is
// handed to the shell in one deletion request.
#include "settings/empty_folder.h"

#include <vector>

#include "common/path_ops.h"

int emptyFolder(platform::WindowHandle owner, const std::string& folder) {
    std::string base = folder;
    if (!endsWithBackslash(base)) base += '\\';

    std::vector<platform::FolderEntry> entries;
    if (!platform::os().listFolder(base, entries)) return -1;

    // The shell takes the items as one list, each ended by a NUL and the
    // whole by a second NUL.
    std::string list;
    for (const platform::FolderEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        list += base;
        list += entry.name;
        list += '\0';
    }
    if (list.empty()) return -1;
    list += '\0';
    platform::os().deleteItems(owner, list);
    return 0;
}
