// The list window's commands. Every command works on the one urlList: the
// snapshot taken first lets a command that fails to build a new list put
// the previous one back, so the rows shown and the list stay in step.
#include "app/list_commands.h"

#include "app/link_reading.h"
#include "app/list_window_port.h"
#include "app/open_rows.h"
#include "app/recognize.h"
#include "app/unopenable_notice.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/unopenable_names.h"
#include "common/url_list.h"
#include "links/list_caption.h"
#include "links/list_menu_items.h"
#include "links/list_rows_ops.h"
#include "links/list_state.h"
#include "links/shortcut_folder.h"
#include "platform/ui_port.h"
#include "settings/settings.h"

namespace {

ListWindowPort& port() { return listWindowPort(); }
bool keyDown(int key) { return platform::os().isKeyDown(key); }

void rebuildRows() { ui().fillListView(0); }

// Rows the list window's own commands bring came from no other program. A
// command that fails puts the snapshot back, the rows' source with it.
void forgetSource() { takeSource(SourceProgram{}); }

// Reads a chosen list file or page; an empty path is a cancelled choice.
void readChosenFile(platform::WindowHandle window, int mode) {
    linkSource.linkMode = mode;
    clearUnopenableNames();
    const std::string path = port().chooseLinkFile(mode);
    if (reportUnopenableNames(window) || path.empty()) return;
    forgetSource();
    const PathParts parts = splitPath(path);
    text::assignCut(linkSource.listTitle, parts.name + parts.extension, cap::path);
    text::assignCut(linkSource.listSource, path, cap::url);
    if (readLinkSource(window, path) == 0) restoreUrlList();
}

// The shortcuts of `folder` as the new list; the old one stays when the
// folder holds none. The folder is taken by value: the scan writes over
// entry 0, where a pasted folder's path is held.
void readShortcutFolder(platform::WindowHandle window, const std::string folder) {
    forgetSource();
    shortcutScan.shortcutCount = 0;
    shortcutScan.shortcutListFull = 0;
    collectShortcuts(window, folder);
    if (shortcutScan.shortcutCount < 1) {
        restoreUrlList();
        return;
    }
    urlList.urlCount = shortcutScan.shortcutCount;
    text::assignCut(linkSource.listTitle, splitPath(folder).name, cap::path);
    rebuildRows();
}

void chooseShortcutFolder(platform::WindowHandle window) {
    shortcutScan.includeSubfolders = keyDown(platform::vkControl) ? 1 : 0;
    clearUnopenableNames();
    const std::string folder = port().chooseShortcutFolder(shortcutScan.includeSubfolders);
    if (!reportUnopenableNames(window) && !folder.empty()) readShortcutFolder(window, folder);
}

// A name chosen in the save dialog that no code page 932 name reaches is
// named in the box, and nothing is written.
void saveList(platform::WindowHandle window, int withTitles) {
    clearUnopenableNames();
    port().saveList(withTitles);
    reportUnopenableNames(window);
}

void readBrowserPage(platform::WindowHandle window) {
    if (!getActiveBrowserUrl("", 0)) {
        restoreUrlList();
        return;
    }
    forgetSource();
    text::assignCut(linkSource.listSource, browserUrl, cap::url);
    text::assignCut(linkSource.baseUrl, browserUrl, cap::path);
    if (!downloadAndExtract(window, browserUrl)) restoreUrlList();
}

void toggleClipboardWatch() {
    port().setClipboardWatch(!port().clipboardWatch());
    port().refreshMenuChecks();
}

void toggleAlwaysOnTop() {
    listWindow.alwaysOnTop = listWindow.alwaysOnTop == 1 ? 0 : 1;
    port().setTopmost(listWindow.alwaysOnTop == 1);
    port().refreshMenuChecks();
}

// A program of the program menu becomes the selected one and runs the
// checked rows.
void chooseProgram(platform::WindowHandle window, int program) {
    listPrograms.selectedListProgram = program;
    port().refreshMenuChecks();
    port().showProgramIcon();
    port().setCaption(programChoiceCaption());
    openRows(window, port().rows(), 0, program);
}

void chooseFilterGroup(int group) {
    filterGroups.selectedFilterGroup = group;
    port().refreshMenuChecks();
    rebuildRows();
}

// The two kind toggles keep at least one kind shown; with Shift the kind
// clicked is shown alone.
void toggleKind(int id) {
    const bool anchors = id == idShowAnchors;
    const int alone = anchors ? showAnchorsOnly : showImagesOnly;
    const int other = anchors ? showImagesOnly : showAnchorsOnly;
    int& filter = listWindow.kindFilter;
    if (keyDown(platform::vkShift)) filter = alone;
    else if (filter == showBothKinds) filter = other;
    else if (filter == other) filter = showBothKinds;
    else return;
    port().refreshMenuChecks();
    rebuildRows();
}

void paste(platform::WindowHandle window) {
    const int result = readClipboardInput(window);
    reportUnopenableNames(window);
    forgetSource();
    switch (result) {
        case recognizedFolder:
            shortcutScan.includeSubfolders = keyDown(platform::vkControl) ? 1 : 0;
            readShortcutFolder(window, urlList.entries[0].url);
            return;
        case recognizedHtmlFile:
        case recognizedOtherFile:
            linkSource.linkMode = result == recognizedHtmlFile ? 2 : 0;
            if (readLinkSource(window, urlList.entries[0].url) == 0) restoreUrlList();
            return;
        case recognizedUrls:
            break;
        default:
            restoreUrlList();
            return;
    }
    if (urlList.urlCount == 1 && text::containsNoCase(urlList.entries[0].scheme, "http")) {
        if (!downloadAndExtract(window, urlList.entries[0].url)) restoreUrlList();
        return;
    }
    linkSource.listTitle = "URL転送データ";
    linkSource.listSource.clear();
    rebuildRows();
}

bool isProgramCommand(int id) {
    if (id == idAssociation) return true;
    const int i = id - idFirstProgram;
    return i >= 0 && i < listPrograms.listProgramCount && i < 10;
}

int programOf(int id) { return id == idAssociation ? associationProgram : id - idFirstProgram; }

}  // namespace

void onListCommand(platform::WindowHandle window, int id) {
    saveUrlList();
    if (isProgramCommand(id)) {
        chooseProgram(window, programOf(id));
        return;
    }
    if (id >= idFirstFilterGroup && id < idFirstFilterGroup + 10) {
        // Only the groups the menu offers.
        if (id - idFirstFilterGroup < filterGroups.groupCount) chooseFilterGroup(id - idFirstFilterGroup);
        return;
    }
    if (id >= idCheckAll && id <= idCheckAll + 9) {
        setCheckStates(port().rows(), id - 900);
        return;
    }
    switch (id) {
        case idOpenList: readChosenFile(window, 0); break;
        case idExtractLinks: readChosenFile(window, 2); break;
        case idBrowserPage: readBrowserPage(window); break;
        case idShortcutFolder: chooseShortcutFolder(window); break;
        case idClipboardWatch: toggleClipboardWatch(); break;
        case idWrite:
        case idWriteWithTitles: saveList(window, id == idWriteWithTitles ? 1 : 0); break;
        case idKanjiConversion:
            linkSource.kanjiConversion = linkSource.kanjiConversion == 1 ? 0 : 1;
            port().refreshMenuChecks();
            break;
        case idAlwaysOnTop: toggleAlwaysOnTop(); break;
        case idExit: ui().closeWindow(window); break;
        case idUncheckAfterRun:
            listWindow.uncheckAfterRun = listWindow.uncheckAfterRun == 1 ? 0 : 1;
            port().refreshMenuChecks();
            break;
        case idCheckNextAfterRun:
            listWindow.checkNextAfterRun = listWindow.checkNextAfterRun == 1 ? 0 : 1;
            port().refreshMenuChecks();
            break;
        case idRemoveDuplicates: removeDuplicateRows(port().rows()); break;
        case idShowAnchors:
        case idShowImages: toggleKind(id); break;
        case idPaste: paste(window); break;
        case idRun: openRows(window, port().rows(), 0, listPrograms.selectedListProgram); break;
        default: break;
    }
}

void runRowMenuChoice(platform::WindowHandle window, int id) {
    if (id == idRowExtract) {
        // No snapshot: a failed download or read leaves the list as it was.
        ListRows& rows = port().rows();
        const int row = rows.selectedRow();
        if (row < 0) return;
        const std::string url = text::cut(rows.text(row, urlColumn), cap::path);
        text::assignCut(linkSource.listSource, url, cap::url);
        downloadAndExtract(window, url);
        return;
    }
    if (isProgramCommand(id)) {
        saveUrlList();
        openRows(window, port().rows(), 1, programOf(id));
    }
}

void showRowMenu(platform::WindowHandle window, int atCentre) {
    runRowMenuChoice(window, port().trackRowMenu(atCentre));
}

void openSelectedRow(platform::WindowHandle window) {
    saveUrlList();
    openRows(window, port().rows(), 1, listPrograms.selectedListProgram);
}
