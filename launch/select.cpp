// Association dispatch for the target in entry 0 of urlList.
#include "launch/select.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/download.h"
#include "launch/given_targets.h"
#include "launch/launch.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/host_blocks.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"
#include "settings/source_blocks.h"
#include "template/url_parts.h"
#include "template/url_template.h"

DispatchState dispatchState;

namespace {

bool readSettingsFile(int useAlternate, std::string& text) {
    platform::Platform& os = platform::os();
    if (useAlternate == 1) {
        dispatchState.useAlternateFile = 1;
        return os.readFile(settings.alternatePath, text, maxSettingsFileBytes, false);
    }
    dispatchState.useAlternateFile = 0;
    bool create = false;
    if (!os.fileExists(programPaths.settingsPath)) {
        text::assignCut(programPaths.settingsPath,
                        programPaths.programFolder + programPaths.settingsFileName, cap::path);
        create = true;
    }
    return os.readFile(programPaths.settingsPath, text, maxSettingsFileBytes, create);
}

// The key a target is filed under: its path's extension in brackets, or
// "[blank]". A target that does not split as a URL is keyed by its own
// text's extension rather than by the parts of some earlier URL.
std::string sectionKeyFor(const std::string& target) {
    std::string path = crackUrl(target) ? urlParts.urlPath : target;
    std::string extension = splitPath(path).extension;
    if (extension.empty()) return "[blank]";
    return text::cut("[" + extension + "]", cap::path);
}

// The host a host block may name: that of a URL that has one. A target
// that is no URL (a path), a file URL and a mailto URL have none.
std::string hostForBlocks(const std::string& target) {
    if (!crackUrl(target) || text::equalsNoCase(urlParts.scheme, "file")) return std::string();
    return urlParts.hostName;
}

// The offset of the block the target is filed under, npos when there is
// none: the first source block that names the program the targets came
// from, else the first host block that names the target's host, else the
// block of its extension. sectionKey receives the header searched for.
std::size_t targetBlock(std::string_view text, const std::string& target) {
    // The source is asked for only when the file has source blocks:
    // deciding it asks the system about processes.
    const std::vector<PatternHeader> sources = sourceHeaders(text);
    if (!sources.empty()) {
        if (const PatternHeader* from = firstSourceHeaderFor(sources, targetSource())) {
            text::assignCut(dispatchState.sectionKey,
                            std::string(sourceHeaderKey) + from->patterns + "]", cap::path);
            return from->at;
        }
    }
    const std::vector<HostHeader> headers = hostHeaders(text);
    if (!headers.empty()) {
        if (const HostHeader* host = firstHostHeaderFor(headers, hostForBlocks(target))) {
            text::assignCut(dispatchState.sectionKey,
                            std::string(hostHeaderKey) + host->patterns + "]", cap::path);
            return host->at;
        }
    }
    dispatchState.sectionKey = sectionKeyFor(target);
    return findSettingsKey(text, dispatchState.sectionKey);
}

// A block is exclusive when its header line (from the key to the end of
// its line) ends in '#'.
bool headerIsExclusive(std::string_view text, std::size_t position) {
    std::size_t consumed = 0;
    std::string line = readSettingsLine(text, position, consumed);
    return !line.empty() && line.back() == '#';
}

void appendAllBlock(std::string_view text) {
    std::size_t all = findSettingsKey(text, "[all]");
    if (all != text::npos) parseAssociationSection(all, text);
}

void pauseAfterRun(int run) {
    int ms = run == 0 ? settings.firstPause : settings.laterPause;
    if (ms > 0) platform::os().sleep(ms);
}

int singleProgramRule() {
    const AssociationItem& program = associationTable.items[associationTable.firstProgram];
    const GivenTargets given(rowWantsGivenUrls(program));
    const std::string& firstUrl = urlList.entries[0].url;
    if (program.subCount == 0) {
        launchProgram(program.command, quoteSpaces(firstUrl));
        return 1;
    }
    if (program.subCount >= 2) return 0;
    const AssociationItem& sub = associationTable.items[program.firstSub];
    if (sub.subKind == subDownload || sub.subKind == subLoaderDownload) {
        text::assignCut(runState.currentTarget, firstUrl, cap::url);
        downloadAndLaunch(program.command, sub.command, sub.folder,
                          sub.subKind == subLoaderDownload ? 1 : 0);
        return 1;
    }
    // Copies: a launch may clear urlCount and a browser hand-over may
    // start other work; the loop runs over the targets as they were.
    const std::string programPath = program.command;
    const std::string templateText = sub.command;
    const int runs = sub.subKind == subRunEach ? urlList.urlCount : 1;
    for (int i = 0; i < runs && i < maxUrlEntries; ++i) {
        text::assignCut(runState.currentTarget, urlList.entries[i].url, cap::url);
        std::string parameters = expandUrlTemplate(templateText, programPath, 0);
        if (parameters == cancelMarker) return 1;
        launchProgram(programPath, parameters);
        pauseAfterRun(i);
    }
    return 1;
}

}  // namespace

int selectAssociation(platform::WindowHandle, std::string_view text) {
    const std::string& firstUrl = urlList.entries[0].url;
    const std::size_t keyAt = targetBlock(text, firstUrl);
    const std::size_t anyAt = findSettingsKey(text, "[.*]");

    if (keyAt != text::npos) {
        const bool keyExclusive = headerIsExclusive(text, keyAt);
        resetAssociationTable();
        parseAssociationSection(keyAt, text);
        if (!keyExclusive) appendAllBlock(text);
        if (associationTable.programCount == 0) {
            if (anyAt == text::npos) {
                openDocument(firstUrl);
                return 1;
            }
            resetAssociationTable();
            parseAssociationSection(anyAt, text);
            if (!keyExclusive && !headerIsExclusive(text, anyAt)) appendAllBlock(text);
            if (associationTable.programCount == 0) {
                openDocument(firstUrl);
                return 1;
            }
            return 0;  // the fallback always offers a choice
        }
        if (associationTable.programCount == 1) return singleProgramRule();
        return 0;
    }

    if (anyAt == text::npos) {
        openDocument(firstUrl);
        return 1;
    }
    resetAssociationTable();
    parseAssociationSection(anyAt, text);
    if (!headerIsExclusive(text, anyAt)) appendAllBlock(text);
    if (associationTable.itemCount == 0) {
        openDocument(firstUrl);
        return 1;
    }
    if (associationTable.programCount == 1) return singleProgramRule();
    return 0;
}

int openWithSettings(platform::WindowHandle window, int useAlternate, int menuMode) {
    std::string text;
    if (!readSettingsFile(useAlternate, text)) {
        platform::os().setForeground(window);
        platform::os().messageBox(window, "設定ファイル異常", "エラー", platform::mbOk);
        return 0;
    }
    if (selectAssociation(window, text) == 0) {
        text::assignCut(runState.currentTarget, urlList.entries[0].url, cap::url);
        const int listWasOpen = runState.listWindowActive;
        ui().showAssociationMenu(window, 0, menuMode);
        // A choice that opened the list window made the targets, or the
        // links of the target's page, the list it now shows: they stay.
        if (listWasOpen == 0 && runState.listWindowActive == 1) return 1;
    }
    urlList.urlCount = 0;
    return 1;
}
