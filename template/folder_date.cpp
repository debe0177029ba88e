// Expansion of the %Name% placeholders that do not depend on the URL:
// special folders, the program's own folders, today's date and the user
// parameters of the settings.
#include "template/folder_date.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/folder_placeholders.h"

std::string lastExpansion;

namespace {

std::string temporaryFolder() {
    if (platform::os().isDirectory(settings.tempFolder)) return settings.tempFolder;
    return programPaths.programFolder + "temp";
}

std::string formatNumber(const char* format, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string computedValue(ComputedPlaceholder which, const platform::LocalTime& now) {
    switch (which) {
    case ComputedPlaceholder::programFolder:
        return withoutTrailingBackslash(programPaths.programFolder);
    case ComputedPlaceholder::tempFolder:
        return temporaryFolder();
    case ComputedPlaceholder::year4:
        return formatNumber("%d", now.year);
    case ComputedPlaceholder::year2: {
        std::string year = formatNumber("%d", now.year);
        return year.size() > 2 ? year.substr(year.size() - 2) : year;
    }
    case ComputedPlaceholder::month:
        return formatNumber("%d", now.month);
    case ComputedPlaceholder::month0:
        return formatNumber("%02d", now.month);
    case ComputedPlaceholder::monthSpace:
        return formatNumber("%2d", now.month);
    case ComputedPlaceholder::day:
        return formatNumber("%d", now.day);
    case ComputedPlaceholder::day0:
        return formatNumber("%02d", now.day);
    case ComputedPlaceholder::daySpace:
        return formatNumber("%2d", now.day);
    case ComputedPlaceholder::specialFolder:
        break;
    }
    return std::string();
}

}  // namespace

std::string expandWhenParametersOn(std::string_view text) {
    if (settings.parametersOn != 1) return std::string(text);
    return expandFolderAndDate(text);
}

std::string expandFolderAndDate(std::string_view input) {
    std::string work = text::cut(input, cap::workText);
    // One reading of the clock serves every date placeholder of the call.
    const platform::LocalTime now = platform::os().localTime();

    for (const FolderPlaceholder& entry : folderPlaceholderTable) {
        // The value is only worked out when the placeholder is present.
        if (text::findNoCase(work, entry.name) == text::npos) continue;
        std::string value;
        if (entry.kind == ComputedPlaceholder::specialFolder) {
            if (!platform::os().specialFolderPath(runState.mainWindow, entry.csidl, value)) {
                continue;  // the folder has no name here: its placeholders stay
            }
        } else {
            value = computedValue(entry.kind, now);
        }
        text::replaceAllNoCase(work, entry.name, text::cut(value, cap::path), cap::workText);
    }

    for (int i = 0; i < userParameters.count && i < static_cast<int>(userParameters.rows.size()); ++i) {
        const UserParameter& parameter = userParameters.rows[static_cast<std::size_t>(i)];
        if (parameter.name.empty()) continue;
        text::replaceAllNoCase(work, parameter.name, text::cut(parameter.value, cap::path),
                               cap::workText);
    }

    text::assignCut(lastExpansion, work, cap::lastExpansion);
    return text::cut(work, cap::expansion);
}
