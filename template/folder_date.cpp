// Expansion of the %Name% placeholders that do not depend on the URL:
// special folders, the program's own folders, today's date and the user
// parameters of the settings.
#include "template/folder_date.h"

#include <cstddef>
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

// The decimal digits of value, filled on the left up to width (as printf's
// "%d", "%02d" and "%2d" write them, without its formatting machinery).
std::string formatNumber(int value, std::size_t width = 0, char fill = ' ') {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), fill);
    return digits;
}

std::string computedValue(ComputedPlaceholder which, const platform::LocalTime& now) {
    switch (which) {
    case ComputedPlaceholder::programFolder:
        return withoutTrailingBackslash(programPaths.programFolder);
    case ComputedPlaceholder::tempFolder:
        return temporaryFolder();
    case ComputedPlaceholder::year4:
        return formatNumber(now.year);
    case ComputedPlaceholder::year2: {
        std::string year = formatNumber(now.year);
        return year.size() > 2 ? year.substr(year.size() - 2) : year;
    }
    case ComputedPlaceholder::month:
        return formatNumber(now.month);
    case ComputedPlaceholder::month0:
        return formatNumber(now.month, 2, '0');
    case ComputedPlaceholder::monthSpace:
        return formatNumber(now.month, 2, ' ');
    case ComputedPlaceholder::day:
        return formatNumber(now.day);
    case ComputedPlaceholder::day0:
        return formatNumber(now.day, 2, '0');
    case ComputedPlaceholder::daySpace:
        return formatNumber(now.day, 2, ' ');
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
