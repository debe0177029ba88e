// Resolves "@system" rows to the ".exe" the system associates with the
// target, or leaves them as "@system" so that the target is opened by the
// system itself.
#include "settings/system_program.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "platform/platform.h"
#include "settings/association_table.h"

namespace {
std::string fullPath(const std::string& path) {
    std::string full;
    return platform::os().fullPathName(path, full) ? full : path;
}
}  // namespace

bool isThisProgram(const std::string& path) {
    if (path.empty() || programPaths.programPath.empty()) return false;
    return text::equalsNoCase(fullPath(path), fullPath(programPaths.programPath));
}

void resolveSystemProgram(int row) {
    AssociationItem& item = associationTable.items[row];
    const std::string& target = urlList.entries[0].url;
    std::string program;
    if (platform::os().findExecutable(target, program) <= 32) {
        item.command = "@system";
        item.caption = "@system";
        return;
    }
    PathParts targetParts = splitPath(target);
    const std::string targetFile = targetParts.name + targetParts.extension;
    program = unquoteSpaces(program);
    std::string programFile;
    if (!platform::os().longFileName(program, programFile)) {
        PathParts p = splitPath(program);
        programFile = p.name + p.extension;
    }
    PathParts fileParts = splitPath(programFile);
    // This program itself is never the associated program: starting it
    // with the target would only bring the target back here.
    if (text::containsNoCase(fileParts.extension, ".exe") &&
        !text::containsNoCase(targetFile, programFile) && !isThisProgram(program)) {
        text::assignCut(item.command, program, cap::path);
        text::assignCut(item.caption, fileParts.name, cap::path);
    } else {
        item.command = "@system";
        item.caption = "@system";
    }
}
