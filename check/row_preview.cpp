// Carrying out one row for a preview, as a choice from the menu does.
#include "check/row_preview.h"

#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "launch/download.h"
#include "launch/launch.h"
#include "platform/platform.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "template/url_template.h"

namespace {

void pauseAfterRun(std::size_t run) {
    const int ms = run == 0 ? settings.firstPause : settings.laterPause;
    if (ms > 0) platform::os().sleep(ms);
}

void restoreTargets(const std::vector<UrlEntry>& targets) {
    std::size_t count = 0;
    for (; count < targets.size() && count < static_cast<std::size_t>(maxUrlEntries); ++count)
        urlList.entries[count] = targets[count];
    urlList.urlCount = static_cast<int>(count);
}

}  // namespace

void chooseRowDry(int k, const std::vector<UrlEntry>& targets) {
    if (k < 0 || k >= associationTable.itemCount || targets.empty()) return;
    restoreTargets(targets);
    multiUrlFlag = 0;
    const AssociationItem row = associationTable.items[static_cast<std::size_t>(k)];
    if (row.kind == itemProgram) {
        launchProgram(row.command, quoteSpaces(targets[0].url));
        pauseAfterRun(0);
        return;
    }
    if (row.kind != itemSubCommand && row.kind != itemSoleSubCommand) return;
    if (row.owner < 0 || row.owner >= associationTable.itemCount) return;
    const std::string program = associationTable.items[static_cast<std::size_t>(row.owner)].command;
    if (row.subKind == subDownload || row.subKind == subLoaderDownload) {
        text::assignCut(runState.currentTarget, targets[0].url, cap::url);
        downloadAndLaunch(program, row.command, row.folder, row.subKind == subLoaderDownload ? 1 : 0);
        return;
    }
    const std::size_t runs = row.subKind == subRunEach ? static_cast<std::size_t>(urlList.urlCount) : 1;
    for (std::size_t i = 0; i < runs && i < targets.size(); ++i) {
        text::assignCut(runState.currentTarget, targets[i].url, cap::url);
        const std::string parameters = expandUrlTemplate(row.command, program, 0);
        if (parameters == cancelMarker) return;  // handed to the browser
        const bool carriesEveryTarget = multiUrlFlag == 1;
        launchProgram(program, parameters);
        pauseAfterRun(i);
        if (carriesEveryTarget) return;
    }
}
