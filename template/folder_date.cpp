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

bool isDate(ComputedPlaceholder kind) {
    return kind != ComputedPlaceholder::specialFolder &&
           kind != ComputedPlaceholder::programFolder && kind != ComputedPlaceholder::tempFolder;
}

}  // namespace

bool FolderDateFinder::find(std::string_view rest, onepass::Found& found) {
    if (rest.empty()) return false;
    // Every name of the table starts with '%'; user parameters may not.
    if (rest[0] == '%') {
        for (std::size_t i = 0; i < folderPlaceholderTable.size(); ++i) {
            const FolderPlaceholder& entry = folderPlaceholderTable[i];
            if (!text::startsWithNoCase(rest, entry.name)) continue;
            if (entry.kind == ComputedPlaceholder::specialFolder) {
                if (folders_[i] == Folder::unknown) {
                    std::string path;
                    const bool named = platform::os().specialFolderPath(runState.mainWindow,
                                                                        entry.csidl, path);
                    folders_[i] = named ? Folder::named : Folder::unnamed;
                    folderPaths_[i] = text::cut(path, cap::path);
                }
                if (folders_[i] == Folder::unnamed) break;  // stays as written
                found = {entry.name.size(), folderPaths_[i]};
                return true;
            }
            if (isDate(entry.kind) && !hasTime_) {
                now_ = platform::os().localTime();
                hasTime_ = true;
            }
            found = {entry.name.size(), text::cut(computedValue(entry.kind, now_), cap::path)};
            return true;
        }
    }
    for (int i = 0; i < userParameters.count && i < static_cast<int>(userParameters.rows.size()); ++i) {
        const UserParameter& parameter = userParameters.rows[static_cast<std::size_t>(i)];
        if (parameter.name.empty() || !text::startsWithNoCase(rest, parameter.name)) continue;
        found = {parameter.name.size(), text::cut(parameter.value, cap::path)};
        return true;
    }
    return false;
}

std::string expandWhenParametersOn(std::string_view text) {
    if (settings.parametersOn != 1) return std::string(text);
    return expandFolderAndDate(text);
}

std::string expandFolderAndDate(std::string_view input) {
    FolderDateFinder finder;
    const std::string work = onepass::expand(
        text::cut(input, cap::workText),
        [&finder](std::string_view rest, std::size_t, onepass::Found& found) {
            return finder.find(rest, found);
        },
        cap::workText);
    text::assignCut(lastExpansion, work, cap::lastExpansion);
    return text::cut(work, cap::expansion);
}
