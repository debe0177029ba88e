// "open": a dry run of Tavrin's start with the given URLs. The real
// start-up action runs (switches, settings loader, recognition, routing,
// association dispatch) on the dry platform; then the report names the
// blocks read, every row of the table with what choosing it would do, and
// the decision.
#include "check/open_command.h"

#include <string>
#include <vector>

#include "app/recognize.h"
#include "app/routing.h"
#include "app/switches.h"
#include "check/effect_text.h"
#include "check/recording_ports.h"
#include "check/row_preview.h"
#include "check/tool_setup.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/url_cleaning.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"

namespace {

using Kind = Effect::Kind;

const Text needsUrl{"open には URL が必要です", "open needs at least one URL"};
const Text loadFailed{"設定ファイルを読めません: {1}", "cannot read the settings file: {1}"};
const Text settingsLabel{"設定ファイル: {1}", "settings: {1}"};
const Text alternateLabel{"関連付けを読んだファイル: {1} (@ext2=)", "associations read from: {1} (@ext2=)"};
const Text commandLineLabel{"コマンドライン: {1}", "command line: {1}"};
const Text urlLabel{"URL {1}: {2}", "URL {1}: {2}"};
const Text titleLabel{"  タイトル: {1}", "  title: {1}"};
const Text givenLabel{"  元の URL: {1}", "  as given: {1}"};
const Text unwrappedBuiltIn{"  転送リンクを外しました: {1} (組み込みの転送リンク)", "  unwrapped: {1} (a built-in redirector)"};
const Text unwrappedOwn{"  転送リンクを外しました: {1} (@unwrap=)", "  unwrapped: {1} (@unwrap=)"};
const Text strippedDefault{"  取り除いたパラメーター: {1} (@strip=default の {2})", "  dropped: {1} ({2} of @strip=default)"};
const Text strippedOwn{"  取り除いたパラメーター: {1} (@strip= の {2})", "  dropped: {1} ({2} of @strip=)"};
const Text givenRow{"  (元の URL を渡します)", "  (given the URLs as given)"};
const Text folderLabel{"フォルダー: {1}", "folder: {1}"};
const Text fileLabel{"ファイル: {1}", "file: {1}"};
const Text noUrl{"URL として認識されたものはありません", "nothing was recognised as a URL"};
const Text atStartLabel{"起動時に Tavrin が行うこと:", "at start Tavrin also does:"};
const Text keyLabel{"キー: {1}", "key: {1}"};
const Text keyMissing{"  ファイルに {1} のブロックはありません", "  the file has no block {1}"};
const Text keyNotUsed{"  {1} のブロック ({2}行目) は使われません: 見つかるプログラムがありません",
                      "  the block {1} (line {2}) is not used: it names no program that exists"};
const Text blockLabel{"ブロック: {1}  {2}行目 ({3} 行)", "block: {1}  line {2} (rows: {3})"};
const Text blockInside{"  (見出しは {1}行目の途中にあります: {2})", "  (the header stands inside line {1}: {2})"};
const Text noBlockRead{"読んだブロックはありません", "no block was read"};
const Text allAdded{"[all]: 追加 ({1}行目)", "[all]: added (line {1})"};
const Text allMissing{"[all]: 追加なし (ファイルに [all] ブロックがありません)",
                      "[all]: not added (the file has no [all] block)"};
const Text allExclusive{"[all]: 追加なし (見出しが # で終わる排他ブロック)",
                        "[all]: not added (the block is exclusive: its header ends in #)"};
const Text allNotRead{"[all]: 追加なし", "[all]: not added"};
const Text rowsLabel{"表:", "rows:"};
const Text programRow{"プログラム  {1}: {2}", "program  {1}: {2}"};
const Text runRow{">  実行            {1}  (見出し {2})", ">  run             {1}  (caption {2})"};
const Text runEachRow{"]  URL ごとに実行  {1}  (見出し {2})", "]  run for each   {1}  (caption {2})"};
const Text downloadRow{"*  保存して開く    {1}  (保存先 {3}, 見出し {2})",
                       "*  download, open {1}  (folder {3}, caption {2})"};
const Text loaderRow{"#  ローダーで保存  {1}  (保存先 {3}, 見出し {2})",
                     "#  loader, open   {1}  (folder {3}, caption {2})"};
const Text groupOpenRow{"{  サブメニュー {1}", "{  submenu {1}"};
const Text groupCloseRow{"}", "}"};
const Text plusRow{"+", "+"};
const Text minusRow{"-", "-"};
const Text choosing{"選ぶと: ", "chosen: "};
const Text decisionStart{"判定: すぐに起動", "decision: start at once"};
const Text decisionMenu{"判定: メニューを表示 (プログラム {1} 個)", "decision: show the menu (programs: {1})"};
const Text decisionEmptyMenu{"判定: メニューを表示 (プログラムはありません)",
                             "decision: show the menu (it holds no program)"};
const Text decisionSystem{"判定: システムで開く", "decision: open by the system"};
const Text decisionList{"判定: リストウィンドウを開く", "decision: open the list window"};
const Text decisionTools{"判定: 開くものがありません (ツールメニューだけ)",
                         "decision: nothing to open (the tools menu only)"};
const Text decisionNothing{"判定: 何も起動しません", "decision: nothing would start"};

// A dry run's recorders.
struct DryRun {
    EffectLog log;
    DryPlatform os;
    RecordingUi ui;
    RecordingBrowser browser;
    explicit DryRun(const CheckEnvironment& environment)
        : os(platform::nativePlatform(), log, environment.converters), ui(log, false), browser(log) {}
};

enum class Decision { start, menu, system, listWindow, toolsMenu, nothing };

Decision decide(const std::vector<Effect>& effects) {
    bool menu = false, system = false, list = false, tools = false;
    for (const Effect& e : effects) {
        switch (e.kind) {
            case Kind::start:
                if (opensBySystem(e)) system = true;
                else if (!e.ifNoBrowserTakes) return Decision::start;
                break;
            case Kind::download:
            case Kind::loaderStart:
            case Kind::handOver: return Decision::start;
            case Kind::menu: (e.number == 1 ? tools : menu) = true; break;
            case Kind::listWindow: list = true; break;
            default: break;
        }
    }
    if (menu) return Decision::menu;
    if (system) return Decision::system;
    if (list) return Decision::listWindow;
    if (tools) return Decision::toolsMenu;
    return Decision::nothing;
}

// What the start-up action recognises in the command line, as it does
// before it routes anything.
std::vector<UrlEntry> recognizedTargets(int& result) {
    std::string target = runState.currentTarget;
    platform::Platform& os = platform::os();
    if (os.isDirectory(target) || os.fileExists(target)) target = quoteSpaces(target);
    result = recognizeInput(target, 0, 1);
    std::vector<UrlEntry> targets(urlList.entries.begin(), urlList.entries.begin() + urlList.urlCount);
    clearOverlongUrls();
    urlList.urlCount = 0;
    return targets;
}

bool bridgeLibraryFound(const std::string& folder) {
    platform::Platform& os = platform::nativePlatform();
    std::string found;
    return os.fileExists(folder + "tvDDE.dll") || os.searchPath(nullptr, "tvDDE.dll", found);
}

// A long command line is shown by its start and its length.
std::string shortened(const std::string& line) {
    constexpr std::size_t shown = 300;
    if (line.size() <= shown) return line;
    return text::cut(line, shown) + "... (" + std::to_string(line.size()) + ")";
}

std::string headerLine(const std::string& text, std::size_t position) {
    std::size_t consumed = 0;
    return readSettingsLine(text, position, consumed);
}

// The whole line that holds `position`, when text other than blanks
// stands before the position in that line.
bool insideLine(const std::string& text, std::size_t position, std::string& line) {
    std::size_t start = 0;
    if (position > 0) {
        const std::size_t lf = text.rfind('\n', position - 1);
        if (lf != std::string::npos) start = lf + 1;
    }
    const std::string_view before = std::string_view(text).substr(start, position - start);
    if (before.find_first_not_of(" \t\r") == std::string_view::npos) return false;
    std::size_t consumed = 0;
    line = readSettingsLine(text, start, consumed);
    return true;
}

class Report {
public:
    Report(Language language, std::string& out) : language_(language), out_(out) {}
    void line(const Text& text, std::initializer_list<std::string_view> args = {}) {
        out_ += say(language_, text, args) + "\n";
    }
    void raw(const std::string& s) { out_ += s + "\n"; }
    Language language() const { return language_; }

private:
    Language language_;
    std::string& out_;
};

// What link cleaning made of a target: the URL as given, and each rule
// that changed it.
void reportCleaning(Report& r, const UrlEntry& target) {
    if (target.givenUrl.empty()) return;
    r.line(givenLabel, {target.givenUrl});
    for (const CleaningStep& step : cleanUrl(target.givenUrl, settings.cleaning, true).steps) {
        if (step.unwrapped) r.line(step.builtIn ? unwrappedBuiltIn : unwrappedOwn, {step.rule});
        else r.line(step.builtIn ? strippedDefault : strippedOwn, {step.detail, step.rule});
    }
}

void reportBlocks(Report& r, const std::string& text) {
    const std::string& key = dispatchState.sectionKey;
    r.line(keyLabel, {key});
    const std::size_t keyAt = findSettingsKey(text, key);
    bool keyRead = false;
    bool allRead = false, exclusive = false;
    for (int i = 0; i < associationTable.blockCount; ++i) {
        const BlockRead& block = associationTable.blocks[static_cast<std::size_t>(i)];
        const std::string header = headerLine(text, block.headerPosition);
        const std::string lineNo = std::to_string(lineOfOffset(text, block.headerPosition));
        r.line(blockLabel, {header, lineNo, std::to_string(block.rowCount)});
        std::string whole;
        if (insideLine(text, block.headerPosition, whole)) r.line(blockInside, {lineNo, whole});
        if (block.headerPosition == keyAt) keyRead = true;
        if (text::startsWithNoCase(header, "[all]")) {
            allRead = true;
            r.line(allAdded, {lineNo});
        } else if (!header.empty() && header.back() == '#') {
            exclusive = true;
        }
    }
    if (associationTable.blockCount == 0) r.line(noBlockRead);
    // The target's own block may have been read and left for "[.*]".
    if (keyAt != text::npos) {
        const std::string own = headerLine(text, keyAt);
        if (!own.empty() && own.back() == '#') exclusive = true;
    }
    if (keyAt == text::npos) r.line(keyMissing, {key});
    else if (!keyRead) r.line(keyNotUsed, {key, std::to_string(lineOfOffset(text, keyAt))});
    if (!allRead && associationTable.blockCount > 0) {
        if (findSettingsKey(text, "[all]") == text::npos) r.line(allMissing);
        else if (exclusive) r.line(allExclusive);
        else r.line(allNotRead);
    }
}

std::string rowText(const AssociationItem& row, Language language) {
    switch (row.kind) {
        case itemProgram:
            return say(language, programRow, {row.caption, row.command}) +
                   (row.givenUrls == 1 ? say(language, givenRow) : std::string());
        case itemSubCommand:
        case itemSoleSubCommand: {
            const Text* kind = row.subKind == subRunEach ? &runEachRow
                               : row.subKind == subDownload ? &downloadRow
                               : row.subKind == subLoaderDownload ? &loaderRow
                                                                  : &runRow;
            return say(language, *kind, {row.command, row.caption, row.folder});
        }
        case itemGroupOpen: return say(language, groupOpenRow, {row.caption});
        case itemGroupClose: return say(language, groupCloseRow);
        case itemPlusMark: return say(language, plusRow);
        case itemMinusMark: return say(language, minusRow);
        default: return std::string();
    }
}

void reportRows(Report& r, DryRun& run, const std::vector<UrlEntry>& targets) {
    if (associationTable.itemCount == 0) return;
    r.line(rowsLabel);
    // Copies: previews run the launch code, which may touch the table's
    // neighbours (a nested dispatch never happens in a preview, but the
    // rows are read back as they were).
    const AssociationTable table = associationTable;
    for (int k = 0; k < table.itemCount; ++k) {
        const AssociationItem& row = table.items[static_cast<std::size_t>(k)];
        std::string indent(static_cast<std::size_t>(2 + 2 * (row.level > 0 ? row.level : 0)), ' ');
        char number[32];
        std::snprintf(number, sizeof number, "%3d ", k);
        r.raw(indent + number + rowText(row, r.language()));
        if (row.kind != itemProgram && row.kind != itemSubCommand && row.kind != itemSoleSubCommand)
            continue;
        const std::size_t mark = run.log.all().size();
        chooseRowDry(k, targets);
        const std::vector<Effect> chosen(run.log.all().begin() + static_cast<long>(mark), run.log.all().end());
        run.log.truncate(mark);
        const std::string pad(indent.size() + 6, ' ');
        bool first = true;
        for (const Effect& e : chosen) {
            r.raw(pad + (first ? say(r.language(), choosing) : std::string(say(r.language(), choosing).size(), ' ')) +
                  describeEffect(e, r.language()));
            first = false;
        }
        associationTable = table;
    }
}

std::string dispatchedText() {
    std::string text;
    const std::string& path = dispatchState.useAlternateFile == 1 ? settings.alternatePath
                                                                   : programPaths.settingsPath;
    platform::nativePlatform().readFile(path, text, maxSettingsFileBytes, false);
    return text;
}

void writeTsv(CheckOutput& output, const std::vector<UrlEntry>& targets,
              const std::string& text, Decision decision, const std::vector<Effect>& effects) {
    std::string& out = output.out;
    out += "@settings\t" + (dispatchState.useAlternateFile == 1 ? settings.alternatePath
                                                                : programPaths.settingsPath) + "\n";
    for (const UrlEntry& e : targets) {
        out += "@url\t" + e.url + "\t" + e.title + "\n";
        if (e.givenUrl.empty()) continue;
        out += "@given\t" + e.givenUrl + "\n";
        for (const CleaningStep& step : cleanUrl(e.givenUrl, settings.cleaning, true).steps)
            out += std::string("@cleaned\t") + (step.unwrapped ? "unwrap" : "strip") + "\t" + step.rule + "\t" +
                   step.detail + "\t" + (step.builtIn ? "built-in" : "own") + "\n";
    }
    if (!dispatchState.sectionKey.empty()) {
        out += "@key\t" + dispatchState.sectionKey + "\n";
        for (int i = 0; i < associationTable.blockCount; ++i) {
            const BlockRead& block = associationTable.blocks[static_cast<std::size_t>(i)];
            out += "@block\t" + std::to_string(lineOfOffset(text, block.headerPosition)) + "\t" +
                   headerLine(text, block.headerPosition) + "\t" + std::to_string(block.rowCount) + "\n";
        }
    }
    static const char* const names[] = {"start", "menu", "open", "list-window", "tools-menu", "nothing"};
    out += std::string("@decision\t") + names[static_cast<int>(decision)] + "\n";
    for (const Effect& e : effects) out += effectTsv(e) + "\n";
}

}  // namespace

std::string tavrinCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        const bool blank = word.find_first_of(" \t") != std::string::npos;
        if (blank && word.find('"') == std::string::npos) line += "\"" + word + "\"";
        else line += word;
    }
    return line;
}

int runOpenCommand(const CheckOptions& options, const CheckEnvironment& environment,
                   CheckOutput& output) {
    const Language language = options.language;
    if (options.words.empty()) {
        output.err += say(language, needsUrl) + "\n" + usageText(language);
        return checkUsage;
    }
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        output.err += error + "\n";
        return checkUsage;
    }
    resetTavrinState(file);
    DryRun run(environment);
    ScopedPorts ports(run.os, run.ui, run.browser);
    run.os.bridgeLibraryPresent = environment.windows && bridgeLibraryFound(file.folder);

    // The steps of a first copy's creation and its start-up action.
    runState.currentTarget = tavrinCommandLine(options.words);
    applySwitches(runState.currentTarget, switchesFull);
    if (!loadSettings(nullptr, 0)) {
        output.err += say(language, loadFailed, {programPaths.settingsPath}) + "\n";
        return checkUsage;
    }
    runState.shiftFlag = options.shift ? 1 : 0;
    runState.ctrlFlag = options.ctrl ? 1 : 0;
    applyKeyInversions(runState.currentTarget);
    int recognized = 0;
    const std::vector<UrlEntry> targets = recognizedTargets(recognized);
    // The start puts the target it opens there: the line as given is kept.
    const std::string commandLine = runState.currentTarget;
    const std::size_t startupMark = run.log.all().size();
    startupAction(nullptr, runState.shiftFlag, runState.ctrlFlag);

    const std::vector<Effect> atStart(run.log.all().begin(), run.log.all().begin() + static_cast<long>(startupMark));
    const std::vector<Effect> effects(run.log.all().begin() + static_cast<long>(startupMark), run.log.all().end());
    Decision decision = decide(effects);
    if (decision == Decision::menu && associationTable.programCount == 0) decision = Decision::nothing;
    const std::string text = dispatchState.sectionKey.empty() ? std::string() : dispatchedText();
    const int status = decision == Decision::toolsMenu || decision == Decision::nothing ? checkFindings : checkOk;

    if (options.tsv) {
        writeTsv(output, targets, text, decision, effects);
        return status;
    }
    Report r(language, output.out);
    r.line(settingsLabel, {programPaths.settingsPath});
    r.line(commandLineLabel, {shortened(commandLine)});
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (recognized == recognizedFolder) r.line(folderLabel, {targets[i].url});
        else if (recognized == recognizedHtmlFile || recognized == recognizedOtherFile)
            r.line(fileLabel, {targets[i].url});
        else r.line(urlLabel, {std::to_string(i + 1), targets[i].url});
        if (!targets[i].title.empty()) r.line(titleLabel, {targets[i].title});
        reportCleaning(r, targets[i]);
    }
    if (targets.empty()) r.line(noUrl);
    if (!atStart.empty()) {
        r.line(atStartLabel);
        for (const Effect& e : atStart) r.raw("  " + describeEffect(e, language));
    }
    if (!dispatchState.sectionKey.empty()) {
        if (dispatchState.useAlternateFile == 1) r.line(alternateLabel, {settings.alternatePath});
        reportBlocks(r, text);
        reportRows(r, run, targets);
    }
    switch (decision) {
        case Decision::start: r.line(decisionStart); break;
        case Decision::menu: r.line(decisionMenu, {std::to_string(associationTable.programCount)}); break;
        case Decision::system: r.line(decisionSystem); break;
        case Decision::listWindow: r.line(decisionList); break;
        case Decision::toolsMenu: r.line(decisionTools); break;
        case Decision::nothing:
            r.line(associationTable.itemCount > 0 && !dispatchState.sectionKey.empty() &&
                           associationTable.programCount == 0
                       ? decisionEmptyMenu
                       : decisionNothing);
            break;
    }
    for (const Effect& e : effects) {
        if (e.kind == Kind::menu || e.kind == Kind::listWindow) continue;  // the decision says it
        r.raw("  " + describeEffect(e, language));
    }
    return status;
}
