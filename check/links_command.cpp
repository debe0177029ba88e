// "links": Tavrin's start with a file or folder on its command line, on the
// dry platform with a list window that only records what it is filled
// with. The file is read, converted and scanned by Tavrin's own code
// (readLinkSource, the shortcut scan); the rows are those the list window
// shows when it opens, titles of images behind "* ".
#include "check/links_command.h"

#include <cstdio>

#include "app/routing.h"
#include "app/switches.h"
#include "check/links_rows.h"
#include "check/messages.h"
#include "check/recording_ports.h"
#include "check/tool_setup.h"
#include "common/app_state.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "links/list_rows_ops.h"
#include "links/source_file.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace {

const Text cannotRead{"読めません ({2}): {1}", "cannot read ({2}): {1}"};
const Text notAFile{"ファイルでもフォルダーでもありません (URL は links では読みません): {1}",
                    "neither a file nor a folder (links reads no URL): {1}"};
const Text sourceLabel{"ソース: {1}", "source: {1}"};
const Text modeList{"種類: URL のリスト", "kind: a list of URLs"};
const Text modeBase{"種類: HTML ページ (ベース URL {1})", "kind: an HTML page (base URL {1})"};
const Text modeNoBase{"種類: HTML ページ (ベース URL なし)", "kind: an HTML page (no base URL)"};
const Text modeFolder{"種類: ショートカットのフォルダー", "kind: a folder of shortcuts"};
const Text modeFolderDeep{"種類: ショートカットのフォルダー (サブフォルダーも)",
                          "kind: a folder of shortcuts (subfolders included)"};
const Text titleLabel{"タイトル: {1}", "title: {1}"};
const Text rowsLabel{"行数: {1}", "rows: {1}"};
const Text noConversionLabel{"漢字コード変換: しない", "code conversion: off"};

}  // namespace

int runLinksCommand(const CheckOptions& options, const CheckEnvironment& environment,
                    CheckOutput& output) {
    const Language language = options.language;
    const std::string& source = options.words[0];
    platform::Platform& real = toolPlatform(environment);
    const bool folder = real.isDirectory(source);
    if (!folder && !real.fileExists(source)) {
        output.err += say(language, notAFile, {printable(source)}) + "\n";
        return checkUsage;
    }

    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error) && options.iniGiven) {
        output.err += error + "\n";
        return checkUsage;
    }
    // Without a settings file the defaults hold, as with an empty one.
    resetTavrinState(file);
    EffectLog log;
    DryPlatform dry(real, log, environment.converters);
    dry.setProgramFolder(file.folder);
    RecordingUi ui(log, true);
    RecordingBrowser browser(log);
    ScopedPorts ports(dry, ui, browser);

    // The file is the one the user names from where they are; Tavrin's
    // own folder only stands in for the names inside the settings file.
    std::string path = source;
    if (rootedPath(source) || !real.fullPathName(source, path)) path = source;
    std::string commandLine = quoteSpaces(path);
    if (options.baseGiven) commandLine = "/#b=" + options.base + " " + commandLine;
    runState.currentTarget = commandLine;
    applySwitches(runState.currentTarget, switchesFull);
    loadSettings(nullptr, 0);
    linkSource.kanjiConversion = options.noConversion ? 0 : 1;
    runState.ctrlFlag = options.subfolders ? 1 : 0;
    startupAction(nullptr, 0, runState.ctrlFlag);

    if (!ui.filled && !folder) {
        output.err += say(language, cannotRead,
                          {printable(source), unreadableReason(environment, language, source, maxLinkSourceBytes)}) +
                      "\n";
        return checkUsage;
    }
    const int mode = linkSource.linkMode;
    std::string& out = output.out;
    if (options.json) {
        out += "{\"source\": " + jsonString(source);
        out += ", \"kind\": " + std::string(folder ? "\"folder\"" : mode == 0 ? "\"list\"" : "\"page\"");
        if (!folder) out += ", \"mode\": " + std::to_string(mode);
        if (!folder && mode == 1) out += ", \"base\": " + jsonString(linkSource.baseUrl);
        out += ", \"listTitle\": " + jsonString(ui.listTitle) + ", \"rows\": ";
        appendJsonRows(out, ui.rows);
        out += "}\n";
    } else if (options.tsv) {
        if (folder) {
            out += "@subfolders\t" + std::to_string(options.subfolders ? 1 : 0) + "\n";
        } else {
            out += "@mode\t" + std::to_string(mode) + "\n";
            if (mode == 1) out += "@base\t" + tsvField(linkSource.baseUrl) + "\n";
        }
        out += "@listTitle\t" + tsvField(ui.listTitle) + "\n";
        appendTsvRows(out, ui.rows);
    } else {
        out += say(language, sourceLabel, {printable(source)}) + "\n";
        if (folder) out += say(language, options.subfolders ? modeFolderDeep : modeFolder) + "\n";
        else if (mode == 0) out += say(language, modeList) + "\n";
        else if (mode == 1) out += say(language, modeBase, {printable(linkSource.baseUrl)}) + "\n";
        else out += say(language, modeNoBase) + "\n";
        if (options.noConversion && !folder) out += say(language, noConversionLabel) + "\n";
        out += say(language, titleLabel, {printable(ui.listTitle)}) + "\n";
        out += say(language, rowsLabel, {std::to_string(ui.rows.size())}) + "\n";
        appendReadableRows(out, ui.rows);
    }
    return ui.rows.empty() ? checkFindings : checkOk;
}
