// The "@path=" search list, given in the settings or in a file of its own.
#include "settings/search_list.h"

#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/find_program.h"
#include "settings/settings.h"
#include "settings/settings_text.h"

void setSearchPath(std::string_view value) {
    const std::string name(value);
    ProgramLookup file = findProgram(name, 0);
    if (file.programFound && !platform::os().isDirectory(file.path)) {
        readSearchListFile(file.path);
        return;
    }
    text::assignCut(settings.searchPathList, value, cap::searchPathList);
    settings.searchPathSet = 1;
}

void readSearchListFile(const std::string& path) {
    settings.searchPathList.clear();
    settings.searchPathSet = 0;
    std::string content;
    if (!platform::os().readFile(path, content, maxSettingsFileBytes, false)) return;

    const std::string_view source = searchableText(content);
    std::size_t from = 0;
    bool wholeText = true;
    std::size_t key = findSettingsKey(source, "path=");
    if (key != text::npos) {
        from = key + 5;
        wholeText = false;
    }
    // Gather one byte beyond the capacity so the cut sees whole characters.
    std::string list;
    for (std::size_t i = from; i < source.size() && list.size() < cap::searchPathList; ++i) {
        const char c = source[i];
        if (c == '\t') continue;
        if (c == '\r' || c == '\n') {
            if (!wholeText) break;
            continue;
        }
        list.push_back(c);
    }
    settings.searchPathList = text::cut(list, cap::searchPathList);
    settings.searchPathSet = settings.searchPathList.empty() ? 0 : 1;
}
