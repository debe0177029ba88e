// The commands behind the menu items.
#include "app/menu_choice.h"

#include <string>
#include <vector>

#include "app/link_reading.h"
#include "app/routing.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/download.h"
#include "launch/given_targets.h"
#include "launch/launch.h"
#include "launch/select.h"
#include "menu/menu_layout.h"
#include "menu/menu_state.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "template/url_template.h"

namespace {

// The targets a choice applies to: all of them, or the first only. Copied,
// as a start with "%M" empties the list and a hand-over to the browser may
// start other work.
std::vector<std::string> targetsOf(bool all) {
    int count = all ? urlList.urlCount : 1;
    if (count > urlList.urlCount) count = urlList.urlCount;
    if (count > maxUrlEntries) count = maxUrlEntries;
    std::vector<std::string> targets;
    for (int i = 0; i < count; ++i) targets.push_back(urlList.entries[i].url);
    return targets;
}

void pauseAfterRun(int run) {
    const int ms = run == 0 ? settings.firstPause : settings.laterPause;
    if (ms > 0) platform::os().sleep(ms);
}

void startProgramRow(const AssociationItem& row) {
    const std::string program = row.command;
    const std::vector<std::string> targets = targetsOf(menuState.choiceShiftFlag == 1);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        launchProgram(program, quoteSpaces(targets[i]));
        pauseAfterRun(static_cast<int>(i));
    }
}

void runSubCommandRow(const AssociationItem& row) {
    if (row.owner < 0 || row.owner >= associationTable.itemCount) return;
    const std::string program = associationTable.items[row.owner].command;
    if (row.subKind == subDownload || row.subKind == subLoaderDownload) {
        if (urlList.urlCount < 1) return;
        text::assignCut(runState.currentTarget, urlList.entries[0].url, cap::url);
        downloadAndLaunch(program, row.command, row.folder, row.subKind == subLoaderDownload ? 1 : 0);
        return;
    }
    const std::string templateText = row.command;
    const std::vector<std::string> targets =
        targetsOf(menuState.choiceShiftFlag == 1 || row.subKind == subRunEach);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        text::assignCut(runState.currentTarget, targets[i], cap::url);
        const std::string parameters = expandUrlTemplate(templateText, program, 0);
        if (parameters == cancelMarker) return;  // handed to the browser
        // A "%M" start carries every target at once: the loop is done.
        const bool carriesEveryTarget = multiUrlFlag == 1;
        launchProgram(program, parameters);
        pauseAfterRun(static_cast<int>(i));
        if (carriesEveryTarget) return;
    }
}

void carryOutRow(int k) {
    if (k < 0 || k >= associationTable.itemCount) return;
    // A copy: a nested dispatch may rebuild the table.
    const AssociationItem row = associationTable.items[k];
    const GivenTargets given(rowWantsGivenUrls(row));
    if (row.kind == itemProgram) startProgramRow(row);
    else if (row.kind == itemSubCommand || row.kind == itemSoleSubCommand) runSubCommandRow(row);
}

bool openListWindow(platform::WindowHandle owner) {
    if (!ui().createListWindow(owner)) return false;
    runState.listWindowActive = 1;
    return true;
}

// The title item: the target itself, by the system's association; with
// Ctrl the same menu from the other settings file; with Shift (or the
// right button) the page's links, and with both the targets as a list.
void carryOutTitle(platform::WindowHandle owner, int ctrlAtChoice) {
    const bool listable = menuState.choiceShiftFlag == 1 && runState.listWindowActive == 0;
    if (ctrlAtChoice) {
        if (listable) {
            if (!openListWindow(owner)) return;
            linkSource.listTitle = "URL転送データ";
            linkSource.listSource.clear();
            ui().fillListView(0);
            return;
        }
        openWithSettings(owner, dispatchState.useAlternateFile == 0 ? 1 : 0, 1);
        return;
    }
    if (urlList.urlCount < 1) return;
    const std::string target = urlList.entries[0].url;
    if (listable) {
        if (!openListWindow(owner)) return;
        // A page that cannot be had leaves no empty list window behind.
        if (!downloadAndExtract(owner, target)) {
            ui().closeWindow(owner);
            runState.listWindowActive = 0;
        }
        return;
    }
    openDocument(target);
}

void openInEditor(const std::string& path) {
    launchProgram(settings.editorProgram, quoteSpaces(path));
}

void showVersion(platform::WindowHandle owner) {
    platform::os().setForeground(owner);
    platform::os().messageBox(owner,
                              "「ネルカモ URL関連付け専用」　\r\n\r\n     　　 Ver.U_1.25\r\n\r\n"
                              "  　　 2008年09月05日",
                              "バージョン情報", platform::mbOk);
}

}  // namespace

void carryOutMenuChoice(platform::WindowHandle owner, int id, int ctrlAtChoice) {
    switch (id) {
        case 0: return;
        case menuIdTitle: carryOutTitle(owner, ctrlAtChoice); return;
        case menuIdMainSettings: openInEditor(programPaths.settingsPath); return;
        case menuIdAlternateSettings: openInEditor(settings.alternatePath); return;
        case menuIdHelp: openInEditor(programPaths.helpFilePath); return;
        case menuIdVersion: showVersion(owner); return;
        case menuIdClipboard:
            clipboardCommand(owner, ctrlAtChoice, menuState.choiceShiftFlag);
            return;
        case menuIdList:
            if (runState.listWindowActive == 0) openListWindow(owner);
            return;
        default:
            if (id >= menuIdRowBase && id < menuIdRowBase + maxAssociationItems)
                carryOutRow(id - menuIdRowBase);
            return;
    }
}
