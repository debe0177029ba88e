// "open": a dry run of Tavrin's start with the given URLs. The real
// start-up action runs (switches, settings loader, recognition, routing,
// association dispatch) on the dry platform; then the report names the
// blocks read, the menu as Tavrin would show it with what choosing each
// item would do, the decision, and the URLs that would stay unopened.
#include "check/open_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/recognize.h"
#include "app/routing.h"
#include "app/switches.h"
#include "check/blocks_read.h"
#include "check/box_texts.h"
#include "check/effect_text.h"
#include "check/recording_ports.h"
#include "check/row_preview.h"
#include "check/tool_setup.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/url_cleaning.h"
#include "menu/menu_layout.h"
#include "menu/menu_title.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "template/url_parts.h"

namespace {

using Kind = Effect::Kind;

const Text loadFailed{"設定ファイルを読めません: {1}", "cannot read the settings file: {1}"};
const Text settingsLabel{"設定ファイル: {1}", "settings: {1}"};
const Text alternateLabel{"関連付けを読んだファイル: {1} (Shift を押していたので @ext2= のファイル)",
                          "associations read from: {1} (the @ext2= file, as Shift was held)"};
const Text alternateSame{"Shift を押していましたが、@ext2= がほかのファイルを挙げていないので、関連付けは設定ファイルから読みます",
                         "Shift was held, but @ext2= names no other file: the associations come from the settings file"};
const Text commandLineLabel{"Tavrin のコマンドライン: {1}", "Tavrin's command line: {1}"};
const Text urlLabel{"URL {1}: {2}", "URL {1}: {2}"};
const Text titleLabel{"  タイトル: {1}", "  title: {1}"};
const Text givenLabel{"  元の URL: {1}", "  as given: {1}"};
const Text unwrappedBuiltIn{"  転送リンクを外しました: {1} (組み込みの転送リンク)", "  unwrapped: {1} (a built-in redirector)"};
const Text unwrappedOwn{"  転送リンクを外しました: {1} (@unwrap=)", "  unwrapped: {1} (@unwrap=)"};
const Text strippedDefault{"  取り除いたパラメーター: {1} (@strip=default の {2})", "  dropped: {1} ({2} of @strip=default)"};
const Text strippedOwn{"  取り除いたパラメーター: {1} (@strip= の {2})", "  dropped: {1} ({2} of @strip=)"};
const Text folderLabel{"フォルダー: {1}", "folder: {1}"};
const Text fileLabel{"ファイル: {1}", "file: {1}"};
const Text noUrl{"URL として認識されたものはありません", "nothing was recognised as a URL"};
const Text tooLong{"長すぎて開けません (URL は {1} 文字まで): {2}",
                   "too long to open (a URL holds at most {1} characters): {2}"};
const Text tooLongWord{"前後の文字とつながって長すぎるため開けません (空白で区切られた一語は {1} 文字まで): {2}",
                       "runs into the text around it and is too long to open (a word between blanks holds at most {1} characters): {2}"};
const Text tooLongMore{"  (同じ理由で開けない URL がほかに {1} 個)", "  (and {1} more for the same reason)"};
const Text noClipboard{"点検ツールはクリップボードもブラウザーも読みません: /#c ならクリップボードの文字、/#d ならブラウザーに表示中のページが入力になります。URL そのものを渡すと、Tavrin がそれをどう開くかが分かります",
                       "the check tool cannot read the clipboard or the browser: with /#c Tavrin takes the clipboard's text, with /#d the page the browser shows; give the URL itself to see what Tavrin does with it"};
const Text atStartLabel{"起動時に Tavrin が行うこと:", "at start Tavrin also does:"};
const Text keyByExtension{"キー: {1} (URL のパス {2} の拡張子)", "key: {1} (the extension of {2}, the URL's path)"};
const Text keyBlank{"キー: {1} (URL のパス {2} に拡張子がありません)", "key: {1} (the URL's path {2} has no extension)"};
const Text keyByHost{"キー: {1} (ホスト {2} を挙げた最初のホストブロック)", "key: {1} (the first host block naming the host {2})"};
const Text keyMissing{"  ファイルに {1} のブロックはありません", "  the file has no block {1}"};
const Text keyNotUsed{"  {1} のブロック ({2}行目) は使われません: 見つかるプログラムがありません",
                      "  the block {1} (line {2}) is not used: it names no program that exists"};
const Text blockLabel{"ブロック: {1}  {2}行目: {3}", "block: {1}  line {2}: {3}"};
const Text oneProgram{"プログラム {1} 個", "{1} program"};
const Text programs{"プログラム {1} 個", "{1} programs"};
const Text oneSub{"サブコマンド {1} 個", "{1} sub-command"};
const Text subs{"サブコマンド {1} 個", "{1} sub-commands"};
const Text blockInside{"  (見出しは {1}行目の途中にあります: {2})", "  (the header stands inside line {1}: {2})"};
const Text noBlockRead{"読んだブロックはありません", "no block was read"};
const Text allAdded{"[all]: 追加 ({1}行目)", "[all]: added (line {1})"};
const Text allMissing{"[all]: 追加なし (ファイルに [all] ブロックがありません)",
                      "[all]: not added (the file has no [all] block)"};
const Text allExclusive{"[all]: 追加なし ({2}行目の {1} は見出しが # で終わる排他ブロック)",
                        "[all]: not added ({1} on line {2} is exclusive: its header ends in #)"};
const Text allNotRead{"[all]: 追加なし", "[all]: not added"};
const Text menuLabel{"メニュー (Tavrin が表示するとおり。[キー] はその項目を選ぶキー):",
                     "menu (as Tavrin shows it; [key] is the key that chooses an item):"};
const Text submenuMark{"  (サブメニュー)", "  (submenu)"};
const Text newColumn{"(ここから新しい列)", "(a new column begins here)"};
const Text keyMark{"  [キー {1}]", "  [key {1}]"};
const Text programItem{"プログラム {1}: URL を受け取ります", "program {1}: it gets the URL"};
const Text programOwner{"プログラム {1}", "program {1}"};
const Text soleItem{"プログラム {1} の、ただ一つのサブコマンド {2}", "program {1}, its one sub-command {2}"};
const Text runItem{"{1}", "{1}"};
const Text runEachItem{"{1}: URL ごとに起動", "{1}: once for every URL"};
const Text downloadItem{"{1}: 保存してから開く", "{1}: download, then open"};
const Text loaderItem{"{1}: ダウンロードプログラムで保存してから開く", "{1}: download with the loader, then open"};
const Text groupItem{"グループ {1}", "group {1}"};
const Text titleItem{"タイトル項目: URL そのもの", "the title item: the URL itself"};
const Text givenItem{" (元の URL を渡します)", " (given the URLs as given)"};
const Text choosing{"選ぶと: ", "chosen: "};
const Text programApplies{"使うプログラム: {1} = {2}", "the program: {1} = {2}"};
const Text programSub{"  サブコマンド: {1}", "  its sub-command: {1}"};
const Text decisionStart{"判定: すぐに起動 (当てはまるプログラムが一つなのでメニューは出ません)",
                         "decision: start at once (one program applies: no menu)"};
const Text decisionMenu{"判定: メニューを表示 ({1})", "decision: show the menu ({1})"};
const Text decisionEmptyMenu{"判定: メニューを表示 (プログラムはありません)",
                             "decision: show the menu (it holds no program)"};
const Text decisionSystem{"判定: システムで開く (当てはまるプログラムがありません)",
                          "decision: open by the system (no program applies)"};
const Text decisionSystemProgram{"判定: システムで開く (当てはまるのは @system のプログラムだけ)",
                                 "decision: open by the system (the one program that applies is @system)"};
const Text decisionList{"判定: リストウィンドウを開く", "decision: open the list window"};
const Text decisionTools{"判定: 開くものがありません (ツールメニューだけ)",
                         "decision: nothing to open (the tools menu only)"};
const Text decisionNothing{"判定: 何も起動しません", "decision: nothing would start"};
const Text unopened{"開かない URL {1}: {2}", "not opened: URL {1} {2}"};
const Text whyFirstOnly{"  (すぐに起動するプログラムが受け取るのは最初の URL だけです。] のサブコマンドか %M ならすべての URL を受け取ります)",
                        "  (the program that starts at once takes the first URL only; a ] sub-command or %M takes every URL)"};
const Text whySystemFirst{"  (システムで開くのは最初の URL だけです)", "  (the system opens the first URL only)"};
const Text severalInMenu{"URL が {1} 個: メニューで普通に選ぶと、プログラムや > の項目は URL 1 だけに使われます。Shift を押しながら (または右ボタンで) 選ぶとすべての URL に、] の項目と %M はいつもすべての URL に使われます",
                         "{1} URLs: a plain choice runs a program or > item for URL 1 only; chosen with Shift held (or the right mouse button) it runs for every URL; ] items and %M always take every URL"};
const Text boxEnglish{"メッセージ [{1}] {2}", "message box [{1}] {2}  ({3})"};

// A dry run's recorders.
struct DryRun {
    EffectLog log;
    DryPlatform os;
    RecordingUi ui;
    RecordingBrowser browser;
    DryRun(const CheckEnvironment& environment, const std::string& folder)
        : os(toolPlatform(environment), log, environment.converters), ui(log, false), browser(log) {
        os.setProgramFolder(folder);
    }
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

// What recognition made of the command line, as the start-up action
// finds it before it routes anything.
struct Recognized {
    int result = 0;
    std::vector<UrlEntry> targets;
    OverlongUrls overlong;  // URLs too long to open
};

Recognized recognizeTargets() {
    Recognized r;
    std::string target = runState.currentTarget;
    platform::Platform& os = platform::os();
    if (os.isDirectory(target) || os.fileExists(target)) target = quoteSpaces(target);
    r.result = recognizeInput(target, 0, 1);
    r.targets.assign(urlList.entries.begin(), urlList.entries.begin() + urlList.urlCount);
    r.overlong = overlongUrls;
    clearOverlongUrls();
    urlList.urlCount = 0;
    return r;
}

bool bridgeLibraryFound(const CheckEnvironment& environment, const std::string& folder) {
    platform::Platform& os = toolPlatform(environment);
    std::string found;
    return os.fileExists(folder + "tvDDE.dll") || os.searchPath(nullptr, "tvDDE.dll", found);
}

class Report {
public:
    Report(Language language, std::string& out) : language_(language), out_(out) {}
    void line(const Text& text, std::initializer_list<std::string_view> args = {}) {
        out_ += printable(::say(language_, text, args)) + "\n";
    }
    void raw(const std::string& s) { out_ += printable(s) + "\n"; }
    std::string say(const Text& text, std::initializer_list<std::string_view> args = {}) const {
        return ::say(language_, text, args);
    }
    Language language() const { return language_; }

private:
    Language language_;
    std::string& out_;
};

// An effect in words; a message box with its meaning in English.
std::string effectText(const Effect& e, Language language) {
    if (e.kind != Kind::message || language != Language::english) return describeEffect(e, language);
    std::string text;
    for (char c : e.file) {
        if (c != '\r') text += c == '\n' ? ' ' : c;
    }
    return say(language, boxEnglish, {e.parameters, text, boxInEnglish(e.parameters, e.file)});
}

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

void reportOverlong(Report& r, const OverlongUrls& overlong) {
    for (int i = 0; i < overlong.noteCount; ++i) {
        const OverlongNote& note = overlong.notes[static_cast<std::size_t>(i)];
        if (note.limit == 0) continue;
        r.line(note.limit == overlong::url ? tooLong : tooLongWord,
               {std::to_string(note.limit), text::cut(note.head, 81) + (note.head.size() > 80 ? "..." : "")});
        if (note.count > 1) r.line(tooLongMore, {std::to_string(note.count - 1)});
    }
}

void reportBlocks(Report& r, const BlocksRead& b) {
    const std::string& key = dispatchState.sectionKey;
    switch (b.keyBy) {
        case BlocksRead::KeyBy::host: r.line(keyByHost, {key, b.keyDetail}); break;
        case BlocksRead::KeyBy::blank: r.line(keyBlank, {key, b.keyDetail}); break;
        case BlocksRead::KeyBy::extension: r.line(keyByExtension, {key, b.keyDetail}); break;
    }
    for (const BlocksRead::Block& one : b.blocks) {
        // "1 program, 2 sub-commands"
        std::string contents = counted(r.language(), one.programs, oneProgram, programs);
        if (one.subs > 0)
            contents += (r.language() == Language::japanese ? "、" : ", ") + counted(r.language(), one.subs, oneSub, subs);
        r.line(blockLabel, {one.header, one.line, contents});
        if (!one.inside.empty()) r.line(blockInside, {one.line, one.inside});
        if (text::startsWithNoCase(one.header, "[all]")) r.line(allAdded, {one.line});
    }
    if (b.blocks.empty()) r.line(noBlockRead);
    if (b.keyMissing) r.line(keyMissing, {key});
    else if (!b.keyNotUsedLine.empty()) r.line(keyNotUsed, {key, b.keyNotUsedLine});
    switch (b.all) {
        case BlocksRead::All::noBlock: r.line(allMissing); break;
        case BlocksRead::All::exclusive: r.line(allExclusive, {b.exclusiveHeader, b.allLine}); break;
        case BlocksRead::All::notRead: r.line(allNotRead); break;
        default: break;
    }
}

// A menu label without its "&" key marks ("&&" is a plain "&"), and the
// key it marks.
std::string withoutKeyMarks(const std::string& label, std::string& key) {
    std::string shown;
    key.clear();
    for (std::size_t i = 0; i < label.size();) {
        const std::size_t step = text::charLength(label, i);
        if (step == 1 && label[i] == '&' && i + 1 < label.size()) {
            if (label[i + 1] == '&') {
                shown += '&';
                i += 2;
                continue;
            }
            const std::size_t next = text::charLength(label, i + 1);
            if (key.empty()) key = label.substr(i + 1, next);
            ++i;
            continue;
        }
        shown.append(label, i, step);
        i += step;
    }
    return shown;
}

// What an item stands for: its program and sub-command as written.
std::string itemDetail(const Report& r, const MenuItemDef& item) {
    if (item.id == menuIdTitle) return r.say(titleItem);
    const int k = item.id - menuIdRowBase;
    if (k < 0 || k >= associationTable.itemCount) return std::string();
    const AssociationItem& row = associationTable.items[static_cast<std::size_t>(k)];
    std::string detail;
    auto subText = [&](const AssociationItem& sub) {
        switch (sub.subKind) {
            case subRunEach: return r.say(runEachItem, {"]" + sub.command});
            case subDownload: return r.say(downloadItem, {"*" + sub.folder + ">" + sub.command});
            case subLoaderDownload: return r.say(loaderItem, {"#" + sub.folder + ">" + sub.command});
            default: return r.say(runItem, {">" + sub.command});
        }
    };
    switch (row.kind) {
        case itemProgram:
            detail = row.subCount > 0 ? r.say(programOwner, {row.command}) : r.say(programItem, {row.command});
            break;
        case itemSoleSubCommand: {
            const AssociationItem& owner = associationTable.items[static_cast<std::size_t>(row.owner)];
            detail = r.say(soleItem, {owner.command, subText(row)});
            break;
        }
        case itemSubCommand: detail = subText(row); break;
        case itemGroupOpen: return r.say(groupItem, {row.caption});
        default: return std::string();
    }
    if (rowWantsGivenUrls(row)) detail += r.say(givenItem);
    return detail;
}

bool choosable(const MenuItemDef& item) {
    if (item.flags & (menuItemSeparator | menuItemSubmenu | menuItemGroup)) return false;
    if (item.id == menuIdTitle) return true;
    const int k = item.id - menuIdRowBase;
    if (k < 0 || k >= associationTable.itemCount) return false;
    const int kind = associationTable.items[static_cast<std::size_t>(k)].kind;
    return kind == itemProgram || kind == itemSubCommand || kind == itemSoleSubCommand;
}

// The effects of choosing an item, as the menu would carry the choice out.
std::vector<Effect> choiceEffects(DryRun& run, int id, const std::vector<UrlEntry>& targets) {
    const AssociationTable table = associationTable;
    const std::size_t mark = run.log.all().size();
    chooseMenuItemDry(id, targets);
    std::vector<Effect> chosen(run.log.all().begin() + static_cast<long>(mark), run.log.all().end());
    run.log.truncate(mark);
    // A choice may start a nested dispatch; the rows read back as they were.
    associationTable = table;
    return chosen;
}

struct MenuWriter {
    Report* text = nullptr;     // the words, or
    std::string* tsv = nullptr;  // the tab-separated lines
    DryRun& run;
    const std::vector<UrlEntry>& targets;
    MenuLayoutOptions options;

    void write(const MenuLayout& menu, int depth) {
        for (const MenuItemDef& item : menu) {
            const std::string indent(static_cast<std::size_t>(2 + 4 * depth), ' ');
            if (item.flags & menuItemSeparator) {
                if (text) text->raw(indent + "----------");
                else *tsv += "@item\t" + std::to_string(item.id) + "\t" + std::to_string(depth) + "\tseparator\n";
                continue;
            }
            if ((item.flags & menuItemColumnBreak) && text) text->raw(indent + text->say(newColumn));
            std::string label = item.label;
            if (item.iconSource != iconNone && !label.empty() && label[0] == ' ') label.erase(0, 1);
            std::string key;
            const std::string shown = withoutKeyMarks(label, key);
            const bool submenu = (item.flags & (menuItemSubmenu | menuItemGroup)) != 0;
            if (text) {
                std::string head = indent + shown;
                if (submenu) head += text->say(submenuMark);
                if (!key.empty()) head += text->say(keyMark, {key});
                text->raw(head);
                const std::string detail = itemDetail(*text, item);
                if (!detail.empty()) text->raw(indent + "    " + detail);
            } else {
                Report silent(Language::english, *tsv);
                std::string kind = (item.flags & menuItemColumnBreak) ? "column-" : "";
                kind += item.id == menuIdTitle ? "title" : submenu ? "submenu" : "item";
                *tsv += "@item\t" + std::to_string(item.id) + "\t" + std::to_string(depth) + "\t" + kind + "\t" +
                        shown + "\t" + key + "\t" + itemDetail(silent, item) + "\n";
            }
            if (choosable(item)) {
                bool first = true;
                for (const Effect& e : choiceEffects(run, item.id, targets)) {
                    if (text) {
                        const std::string lead = text->say(choosing);
                        text->raw(indent + "    " + (first ? lead : std::string(lead.size(), ' ')) +
                                  effectText(e, text->language()));
                    } else {
                        *tsv += "@chosen\t" + std::to_string(item.id) + "\t" + effectTsv(e) + "\n";
                    }
                    first = false;
                }
            }
            if (item.flags & menuItemSubmenu) write(item.children, depth + 1);
            if (item.flags & menuItemGroup)
                write(buildAssociationLayout(associationTable, item.id - menuIdRowBase, 1, options), depth + 1);
        }
    }
};

MenuLayout menuAsShown(const std::vector<UrlEntry>& targets, const MenuLayoutOptions& options) {
    if (!targets.empty()) text::assignCut(runState.currentTarget, targets[0].url, cap::url);
    urlList.urlCount = static_cast<int>(targets.size());
    const std::string title = associationMenuTitle();
    urlList.urlCount = 0;
    return associationMenuLayout(associationTable, title, options);
}

// The program the single-program rule started, and how many of the URLs
// it took: 1, or all of them.
const AssociationItem* startedProgram(bool& takesAll) {
    takesAll = false;
    if (associationTable.programCount != 1) return nullptr;
    const AssociationItem& program = associationTable.items[static_cast<std::size_t>(associationTable.firstProgram)];
    if (program.subCount == 1) {
        const AssociationItem& sub = associationTable.items[static_cast<std::size_t>(program.firstSub)];
        takesAll = sub.subKind == subRunEach ||
                   (sub.subKind == subRun && text::containsNoCase(sub.command, "%M") &&
                    !text::containsNoCase(sub.command, "%S"));
    }
    return &program;
}

std::string dispatchedText(const CheckEnvironment& environment, const std::string& folder) {
    std::string text;
    const std::string& path = dispatchState.useAlternateFile == 1 ? settings.alternatePath
                                                                   : programPaths.settingsPath;
    EffectLog unused;
    DryPlatform look(toolPlatform(environment), unused, nullptr);
    look.setProgramFolder(folder);
    look.readFile(path, text, maxSettingsFileBytes, false);
    return text;
}

// Which of the URLs would stay unopened, and why: 0 when all are opened.
const Text* unopenedReason(Decision decision, std::size_t targets) {
    if (targets < 2) return nullptr;
    if (decision == Decision::system) return &whySystemFirst;
    if (decision != Decision::start) return nullptr;
    bool takesAll = false;
    if (!startedProgram(takesAll) || takesAll) return nullptr;
    return &whyFirstOnly;
}

const char* const decisionNames[] = {"start", "menu", "open", "list-window", "tools-menu", "nothing"};

// The program the single-program rule started, with its one sub-command.
const AssociationItem* reportedProgram(Decision decision) {
    bool takesAll = false;
    return decision == Decision::start || decision == Decision::system ? startedProgram(takesAll) : nullptr;
}

void writeTsv(CheckOutput& output, DryRun& run, const std::string& commandLine, const Recognized& seen,
              const std::string& text, Decision decision, const std::vector<Effect>& atStart,
              const std::vector<Effect>& effects) {
    std::string& out = output.out;
    out += "@settings\t" + programPaths.settingsPath + "\n";
    if (dispatchState.useAlternateFile == 1) out += "@alternate\t" + settings.alternatePath + "\n";
    out += "@commandline\t" + commandLine + "\n";
    const char* const label = seen.result == recognizedFolder ? "@folder\t"
                              : seen.result == recognizedHtmlFile || seen.result == recognizedOtherFile ? "@file\t"
                                                                                                        : "@url\t";
    for (const UrlEntry& e : seen.targets) {
        out += label + e.url + "\t" + e.title + "\n";
        if (e.givenUrl.empty()) continue;
        out += "@given\t" + e.givenUrl + "\n";
        for (const CleaningStep& step : cleanUrl(e.givenUrl, settings.cleaning, true).steps)
            out += std::string("@cleaned\t") + (step.unwrapped ? "unwrap" : "strip") + "\t" + step.rule + "\t" +
                   step.detail + "\t" + (step.builtIn ? "built-in" : "own") + "\n";
    }
    for (int i = 0; i < seen.overlong.noteCount; ++i) {
        const OverlongNote& note = seen.overlong.notes[static_cast<std::size_t>(i)];
        if (note.limit == 0) continue;
        out += "@too-long\t" + std::to_string(note.limit) + "\t" + std::to_string(note.count) + "\t" + note.head + "\n";
    }
    if (seen.targets.empty() && seen.overlong.noteCount == 0) {
        if (startOptions.clipboardStart || startOptions.browserQueryMode)
            out += "@not-read\t" + std::string(startOptions.clipboardStart ? "clipboard" : "browser") + "\n";
        else out += "@no-url\n";
    }
    for (const Effect& e : atStart) out += "@at-start\t" + effectTsv(e) + "\n";
    if (!dispatchState.sectionKey.empty()) writeBlocksTsv(out, blocksRead(text, seen.targets));
    if (const AssociationItem* program = reportedProgram(decision)) {
        out += "@program\t" + program->caption + "\t" + program->command + "\n";
        if (program->subCount == 1) {
            const AssociationItem& sub = associationTable.items[static_cast<std::size_t>(program->firstSub)];
            const char mark = sub.subKind == subRunEach           ? ']'
                              : sub.subKind == subDownload        ? '*'
                              : sub.subKind == subLoaderDownload  ? '#'
                                                                  : '>';
            const bool saves = mark == '*' || mark == '#';
            out += std::string("@program-sub\t") + mark + "\t" + (saves ? sub.folder : "") + "\t" + sub.command + "\n";
        }
    }
    const MenuLayoutOptions options{settings.showIcons, settings.subCommandMark};
    if (decision == Decision::menu) {
        const MenuLayout menu = menuAsShown(seen.targets, options);
        MenuWriter writer{nullptr, &out, run, seen.targets, options};
        writer.write(menu, 0);
    }
    if (const Text* why = unopenedReason(decision, seen.targets.size()))
        for (std::size_t i = 1; i < seen.targets.size(); ++i)
            out += "@unopened\t" + std::to_string(i + 1) + "\t" + seen.targets[i].url + "\t" +
                   (why == &whyFirstOnly ? "first-only" : "system-first") + "\n";
    out += std::string("@decision\t") + decisionNames[static_cast<int>(decision)] + "\n";
    for (const Effect& e : effects) out += effectTsv(e) + "\n";
    if (decision == Decision::menu && seen.targets.size() > 1)
        out += "@several\t" + std::to_string(seen.targets.size()) + "\n";
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
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        output.err += printable(error) + "\n";
        return checkUsage;
    }
    resetTavrinState(file);
    DryRun run(environment, file.folder);
    ScopedPorts ports(run.os, run.ui, run.browser);
    // Natively there is no bridge library to find; the check then tells
    // what Tavrin does with the library that ships beside it.
    run.os.bridgeLibraryPresent = !environment.windows || bridgeLibraryFound(environment, file.folder);

    // The steps of a first copy's creation and its start-up action.
    // A file or folder is the one the user names from where they are;
    // Tavrin's own folder only stands in for the names inside the
    // settings file.
    std::vector<std::string> words = options.words;
    platform::Platform& real = toolPlatform(environment);
    for (std::string& word : words) {
        std::string full;
        if (!rootedPath(word) && (real.fileExists(word) || real.isDirectory(word)) &&
            real.fullPathName(word, full))
            word = full;
    }
    const std::string commandLine = tavrinCommandLine(words);
    runState.currentTarget = commandLine;
    applySwitches(runState.currentTarget, switchesFull);
    if (!loadSettings(nullptr, 0)) {
        output.err += say(language, loadFailed, {printable(programPaths.settingsPath)}) + "\n";
        return checkUsage;
    }
    runState.shiftFlag = options.shift ? 1 : 0;
    runState.ctrlFlag = options.ctrl ? 1 : 0;
    applyKeyInversions(runState.currentTarget);
    const Recognized seen = recognizeTargets();
    const std::size_t startupMark = run.log.all().size();
    startupAction(nullptr, runState.shiftFlag, runState.ctrlFlag);

    const std::vector<Effect> atStart(run.log.all().begin(), run.log.all().begin() + static_cast<long>(startupMark));
    const std::vector<Effect> effects(run.log.all().begin() + static_cast<long>(startupMark), run.log.all().end());
    Decision decision = decide(effects);
    if (decision == Decision::menu && associationTable.programCount == 0) decision = Decision::nothing;
    const std::string text = dispatchState.sectionKey.empty() ? std::string() : dispatchedText(environment, file.folder);
    const int status = decision == Decision::toolsMenu || decision == Decision::nothing ? checkFindings : checkOk;

    if (options.tsv) {
        writeTsv(output, run, commandLine, seen, text, decision, atStart, effects);
        return status;
    }
    Report r(language, output.out);
    r.line(settingsLabel, {programPaths.settingsPath});
    r.line(commandLineLabel, {commandLine});
    for (std::size_t i = 0; i < seen.targets.size(); ++i) {
        const UrlEntry& target = seen.targets[i];
        if (seen.result == recognizedFolder) r.line(folderLabel, {target.url});
        else if (seen.result == recognizedHtmlFile || seen.result == recognizedOtherFile)
            r.line(fileLabel, {target.url});
        else r.line(urlLabel, {std::to_string(i + 1), target.url});
        if (!target.title.empty()) r.line(titleLabel, {target.title});
        reportCleaning(r, target);
    }
    reportOverlong(r, seen.overlong);
    if (seen.targets.empty() && seen.overlong.noteCount == 0) {
        if (startOptions.clipboardStart || startOptions.browserQueryMode) r.line(noClipboard);
        else r.line(noUrl);
    }
    if (!atStart.empty()) {
        r.line(atStartLabel);
        for (const Effect& e : atStart) r.raw("  " + effectText(e, language));
    }
    const MenuLayoutOptions layout{settings.showIcons, settings.subCommandMark};
    if (!dispatchState.sectionKey.empty()) {
        if (dispatchState.useAlternateFile == 1) {
            if (settings.alternatePath != programPaths.settingsPath) r.line(alternateLabel, {settings.alternatePath});
            else r.line(alternateSame);
        }
        reportBlocks(r, blocksRead(text, seen.targets));
        if (const AssociationItem* program = reportedProgram(decision)) {
            r.line(programApplies, {program->caption, program->command});
            if (program->subCount == 1) {
                MenuItemDef item;
                item.id = menuIdRowBase + program->firstSub;
                r.line(programSub, {itemDetail(r, item)});
            }
        }
        if (decision == Decision::menu) {
            r.line(menuLabel);
            const MenuLayout menu = menuAsShown(seen.targets, layout);
            MenuWriter writer{&r, nullptr, run, seen.targets, layout};
            writer.write(menu, 0);
        }
    }
    switch (decision) {
        case Decision::start: r.line(decisionStart); break;
        case Decision::menu:
            r.line(decisionMenu, {counted(language, associationTable.programCount, oneProgram, programs)});
            break;
        case Decision::system: {
            bool takesAll = false;
            const AssociationItem* program = startedProgram(takesAll);
            r.line(program && text::containsNoCase(program->command, "@system") ? decisionSystemProgram
                                                                                : decisionSystem);
            break;
        }
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
        r.raw("  " + effectText(e, language));
    }
    if (const Text* why = unopenedReason(decision, seen.targets.size())) {
        for (std::size_t i = 1; i < seen.targets.size(); ++i)
            r.line(unopened, {std::to_string(i + 1), seen.targets[i].url});
        r.line(*why);
    }
    if (decision == Decision::menu && seen.targets.size() > 1)
        r.line(severalInMenu, {std::to_string(seen.targets.size())});
    return status;
}
