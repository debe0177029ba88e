// Input routing shared by the start-up action, hand-offs, drops and
// clipboard changes. Each entry point recognises its input, then goes to
// the association dispatch or fills the list window from a folder, a local
// file, a downloaded page or the given URLs.
#include "app/routing.h"

#include "app/handoff.h"

#include "app/link_reading.h"
#include "app/overlong_notice.h"
#include "app/recognize.h"
#include "app/switches.h"
#include "app/unopenable_notice.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/unopenable_names.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/link_cleaning.h"
#include "links/shortcut_folder.h"
#include "platform/ui_port.h"
#include "settings/settings.h"

namespace {

platform::Platform& os() { return platform::os(); }

// FOLDER: the list of the folder's shortcuts; false when it holds none.
bool routeFolder(platform::WindowHandle window, int includeSubfolders) {
    const std::string folder = urlList.entries[0].url;
    shortcutScan.shortcutCount = 0;
    shortcutScan.shortcutListFull = 0;
    shortcutScan.includeSubfolders = includeSubfolders;
    collectShortcuts(window, folder);
    if (shortcutScan.shortcutCount < 1) return false;
    urlList.urlCount = shortcutScan.shortcutCount;
    text::assignCut(linkSource.listTitle, splitPath(folder).name, cap::path);
    ui().fillListView(0);
    return true;
}

// PAGE: the links of the local file in entry 0; false when it cannot be
// read (urlList then holds only the path).
bool routePage(platform::WindowHandle window, int mode) {
    linkSource.linkMode = mode;
    return readLinkSource(window, urlList.entries[0].url) != 0;
}

// DOWNLOAD: the links of the page entry 0 names; false when the download
// or the reading failed.
bool routeDownload(platform::WindowHandle window) {
    return downloadAndExtract(window, urlList.entries[0].url);
}

// TRANSFER: the given URLs as they are.
void routeTransfer() {
    linkSource.listTitle = "URL転送データ";
    linkSource.listSource.clear();
    ui().fillListView(0);
}

// Opens the list window for a start-up route; false when there is none.
bool openListWindow(platform::WindowHandle window) {
    if (!ui().createListWindow(window)) return false;
    runState.listWindowActive = 1;
    // The list may stay open for hours, and its rows keep the start's
    // source: it is asked now, while the process noted in front at the
    // start still runs under its number, not when a row is first opened.
    if (urlList.sourceIsStart) startSource();
    return true;
}

// Start-up steps for a recognised folder or local file.
void startupLocalSource(platform::WindowHandle window, int result, int ctrl) {
    if (!openListWindow(window)) return;
    if (result == 1) {
        routeFolder(window, ctrl);
        return;
    }
    int mode = result == 2 ? (linkSource.linkMode == 1 ? 1 : 2) : 0;
    if (!routePage(window, mode)) {
        ui().closeWindow(window);
        runState.listWindowActive = 0;
    }
}

// Start-up step for recognised URLs.
void startupUrls(platform::WindowHandle window, int shift) {
    if (linkSource.linkMode >= 1) {
        if (openListWindow(window)) routeDownload(window);
        return;
    }
    openWithSettings(window, shift, 0);
}

void showToolsMenu(platform::WindowHandle window) { ui().showAssociationMenu(window, 1, 0); }

// The routing table of drops and clipboard changes (`ctrlNow` for folders).
enum class Source { FileDrop, TextDrop, Clipboard };

// Ctrl as it was when the input arrived: -1 reads it now.
int ctrlAt(int ctrl) {
    if (ctrl >= 0) return ctrl ? 1 : 0;
    return os().isKeyDown(platform::vkControl) ? 1 : 0;
}

void routeDropped(platform::WindowHandle window, int result, Source source, int ctrl) {
    switch (result) {
        case 1:
            if (!routeFolder(window, ctrlAt(ctrl))) restoreUrlList();
            return;
        // A file that cannot be read (too large, held by another program,
        // no access) leaves the list as it was, not as the bare path.
        case 2:
            if (!routePage(window, 2)) restoreUrlList();
            return;
        case 3:
            if (!routePage(window, 0)) restoreUrlList();
            return;
        default: break;
    }
    if (urlList.urlCount == 1 && text::containsNoCase(urlList.entries[0].scheme, "http")) {
        if (!routeDownload(window)) restoreUrlList();
    } else if (urlList.urlCount >= 1 || source == Source::TextDrop) {
        routeTransfer();
    } else {
        restoreUrlList();
    }
}

}  // namespace

void startupAction(platform::WindowHandle window, int shift, int ctrl) {
    // What the start brings came from the program this copy was started
    // from, and so do the rows of a list it opens.
    takeStartSource();
    std::string& target = runState.currentTarget;
    // A whole command line that names one file or folder (blanks and all)
    // is one token; a relative one is named in full from here on.
    if (const std::string file = besideStartFolder(target); os().isDirectory(file) || os().fileExists(file))
        text::assignCut(target, quoteSpaces(file), cap::transfer);
    int result = recognizeInput(target, 0, 1);
    // URLs too long to open, and files whose names the code page cannot
    // hold, are told of first; input that named nothing else has been
    // dealt with then, and nothing else is asked for.
    const bool toldOfLength = reportOverlongUrls(window);
    const bool told = reportUnopenableNames(window) || toldOfLength;
    if (result >= 1 && result <= 3) {
        startupLocalSource(window, result, ctrl);
    } else if (urlList.urlCount >= 1) {
        startupUrls(window, shift);
    } else if (told) {
        // The input named only URLs too long to open.
    } else if (startOptions.clipboardStart == 1) {
        result = readClipboardInput(window);
        const bool toldOfLength = reportOverlongUrls(window);
        const bool toldOfClipboard = reportUnopenableNames(window) || toldOfLength;
        if (result >= 1 && result <= 3) startupLocalSource(window, result, ctrl);
        else if (urlList.urlCount >= 1) startupUrls(window, shift);
        else if (!toldOfClipboard) showToolsMenu(window);
    } else if (startOptions.browserQueryMode > 0 &&
               getActiveBrowserUrl(startOptions.browserServiceName, startOptions.browserQueryMode)) {
        std::string url = browserUrl, given;
        cleanForUse(url, given);
        urlList.entries[0].url = url;
        urlList.entries[0].givenUrl = given;
        urlList.urlCount = 1;
        openWithSettings(window, shift, 0);
    } else if (!reportOverlongUrls(window)) {  // the browser's page may be too long
        showToolsMenu(window);
    }
    if (runState.listWindowActive == 0) ui().closeWindow(window);
}

void clipboardCommand(platform::WindowHandle window, int ctrl, int useAlternate) {
    const int result = readClipboardInput(window);
    reportUnopenableNames(window);
    if (result < 0) return;
    if (result >= 1 && result <= 3) startupLocalSource(window, result, ctrl);
    else if (urlList.urlCount >= 1) startupUrls(window, useAlternate);
}

void receiveHandOff(platform::WindowHandle window, unsigned transferCode, std::string_view payload,
                    const SourceProgram& source) {
    if (runState.listWindowActive != 1) return;
    // A code of digits out of range is no copy's: it would set Ctrl and the
    // link mode to values nothing expects (and download the payload's URL).
    TransferCode code;
    if (!decodeTransferCode(transferCode, code)) return;
    saveUrlList();
    takeSource(source);
    applySwitches(payload, switchesBaseOnly);
    runState.ctrlFlag = code.ctrl;
    linkSource.linkMode = code.linkMode;
    const int result = recognizeInput(payload, code.clipboard, 1);
    reportOverlongUrls(window);
    switch (result) {
        case 1:
            if (!routeFolder(window, runState.ctrlFlag == 1 ? 1 : 0)) restoreUrlList();
            return;
        case 2:
            if (!routePage(window, linkSource.linkMode == 1 ? 1 : 2)) restoreUrlList();
            return;
        case 3:
            if (!routePage(window, 0)) restoreUrlList();
            return;
        default: break;
    }
    if (linkSource.linkMode >= 1) {
        // A payload that named no URL has nothing to download.
        if (urlList.urlCount < 1 || !routeDownload(window)) restoreUrlList();
    } else {
        routeTransfer();
    }
}

void routeDroppedFile(platform::WindowHandle window, const std::string& path, int ctrl) {
    saveUrlList();
    if (runState.listWindowActive != 1) {
        clearUnopenableNames();
        return;
    }
    takeSource(SourceProgram{});
    const int result = recognizeInput(quoteSpaces(path), 0, 1);
    reportOverlongUrls(window);
    reportUnopenableNames(window);
    routeDropped(window, result, Source::FileDrop, ctrl);
}

void routeDroppedText(platform::WindowHandle window, std::string_view text, int ctrl) {
    saveUrlList();
    takeSource(SourceProgram{});
    const int result = recognizeInput(text, 1, 1);
    reportOverlongUrls(window);
    reportUnopenableNames(window);
    routeDropped(window, result, Source::TextDrop, ctrl);
}

void routeClipboardChange(platform::WindowHandle window) {
    std::string text;
    if (!takeClipboardText(window, text)) {
        runState.transferBuffer.clear();
        return;
    }
    routeClipboardText(window, text, -1);
}

void routeClipboardText(platform::WindowHandle window, std::string_view text, int ctrl) {
    saveUrlList();
    takeSource(SourceProgram{});
    const int result = recognizeClipboardText(text);
    // Watching takes whatever the user copies anywhere: what it cannot
    // hold or open is passed over without a box.
    clearOverlongUrls();
    clearUnopenableNames();
    if (result < 0) {
        // Text that named nothing leaves the shown list as it was.
        restoreUrlList();
        return;
    }
    routeDropped(window, result, Source::Clipboard, ctrl);
}
