// File-path placeholders, replaced one after the other in a fixed order;
// each searches the whole text again, so the order decides what a value
// that itself holds a placeholder turns into.
#include "template/path_template.h"

#include "common/app_state.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "platform/platform.h"
#include "template/folder_date.h"

namespace {

constexpr std::size_t templateCapacity = 1040;

struct PathPlaceholder {
    std::string_view name;
    std::string value;
};

}  // namespace

std::string expandPathTemplate(std::string_view templateText, int foldersOnly) {
    std::string text = text::cut(expandWhenParametersOn(templateText), templateCapacity);
    if (foldersOnly == 1) return text;

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
    for (const PathPlaceholder& p : table)
        text::replaceAllNoCase(text, p.name, p.value, templateCapacity);
    return text;
}
