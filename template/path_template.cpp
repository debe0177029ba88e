// File-path placeholders, expanded in one pass with the folder and date
// placeholders (when "@param" is on): each is replaced where it stands in
// the template, so a saved name that holds "%D" or a percent escape such as
// "%E8" goes into the text unchanged.
#include "template/path_template.h"

#include "common/app_state.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/folder_date.h"
#include "template/one_pass.h"

namespace {

constexpr std::size_t templateCapacity = 1040;

struct PathPlaceholder {
    std::string_view name;
    std::string value;
};

}  // namespace

std::string expandPathTemplate(std::string_view templateText, int foldersOnly) {
    FolderDateFinder folders;
    const bool withFolders = settings.parametersOn == 1;
    if (foldersOnly == 1) {
        if (!withFolders) return text::cut(templateText, templateCapacity);
        return onepass::expand(
            templateText,
            [&](std::string_view rest, std::size_t, onepass::Found& found) {
                return folders.find(rest, found);
            },
            templateCapacity);
    }

    const std::string& target = runState.currentTarget;
    const PathParts parts = splitPath(target);
    const std::string folder = parts.drive + parts.directory;
    std::string whole = target;
    if (platform::os().isDirectory(target) && !endsWithBackslash(target)) whole += '\\';

    const PathPlaceholder table[] = {
        {"%P", whole},
        {"%D", folder},
        {"%-D", withoutTrailingBackslash(folder)},
        {"%F", splitPath(withoutTrailingBackslash(folder)).name},
        {"%N", parts.name + parts.extension},
        {"%E", parts.extension},
        {"%A", parts.name},
        {"%B", folder + parts.name},
    };
    auto find = [&](std::string_view rest, std::size_t, onepass::Found& found) {
        if (rest.empty() || (rest[0] != '%' && !withFolders)) return false;
        if (withFolders && folders.find(rest, found)) return true;
        for (const PathPlaceholder& p : table) {
            if (!text::startsWithNoCase(rest, p.name)) continue;
            found = {p.name.size(), p.value};
            return true;
        }
        // The program the downloaded target came from, asked for only here.
        if (text::startsWithNoCase(rest, "%O") || text::startsWithNoCase(rest, "%V")) {
            const SourceProgram& source = targetSource();
            found = {2, text::startsWithNoCase(rest, "%O") ? source.name : source.path};
            return true;
        }
        return false;
    };
    return onepass::expand(templateText, find, templateCapacity);
}
