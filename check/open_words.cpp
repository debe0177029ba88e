// The open command's report in words: the settings file, the command
// line and the source assumed, the targets, the blocks read, the menu as
// Tavrin would show it, the decision and its effects.
#include <string>

#include "app/recognize.h"
#include "check/blocks_read.h"
#include "check/effect_text.h"
#include "check/menu_report.h"
#include "check/open_result.h"
#include "check/source_report.h"
#include "common/app_state.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "settings/association_table.h"
#include "settings/settings.h"

namespace {

const Text settingsLabel{"設定ファイル: {1}", "settings: {1}"};
const Text alternateLabel{"関連付けを読んだファイル: {1} (Shift を押していたので @ext2= のファイル)",
                          "associations read from: {1} (the @ext2= file, as Shift was held)"};
const Text alternateSame{"Shift を押していましたが、@ext2= がほかのファイルを挙げていないので、関連付けは設定ファイルから読みます",
                         "Shift was held, but @ext2= names no other file: the associations come from the settings file"};
const Text commandLineLabel{"Tavrin のコマンドライン: {1}", "Tavrin's command line: {1}"};
const Text urlLabel{"URL {1}: {2}", "URL {1}: {2}"};
const Text titleLabel{"  タイトル: {1}", "  title: {1}"};
const Text folderLabel{"フォルダー: {1}", "folder: {1}"};
const Text fileLabel{"ファイル: {1}", "file: {1}"};
const Text noUrl{"URL として認識されたものはありません", "nothing was recognised as a URL"};
const Text noClipboard{"点検ツールはクリップボードもブラウザーも読みません: /#c ならクリップボードの文字、/#d ならブラウザーに表示中のページが入力になります。URL そのものを渡すと、Tavrin がそれをどう開くかが分かります",
                       "the check tool cannot read the clipboard or the browser: with /#c Tavrin takes the clipboard's text, with /#d the page the browser shows; give the URL itself to see what Tavrin does with it"};
const Text atStartLabel{"起動時に Tavrin が行うこと:", "at start Tavrin also does:"};
const Text keyByExtension{"キー: {1} (URL のパス {2} の拡張子)", "key: {1} (the extension of {2}, the URL's path)"};
const Text keyBlank{"キー: {1} (URL のパス {2} に拡張子がありません)", "key: {1} (the URL's path {2} has no extension)"};
const Text keyByHost{"キー: {1} (ホスト {2} を挙げた最初のホストブロック)", "key: {1} (the first host block naming the host {2})"};
const Text keyBySource{"キー: {1} (リンク元のプログラム {2} を挙げた最初の [from:] ブロック)",
                       "key: {1} (the first [from:] block naming {2}, the program the link came from)"};
const Text sourcePassed{"  {1} を挙げた [from:] ブロックはありません (ファイルの [from:] ブロック {2} 個)",
                        "  no [from:] block names {1} (the file has {2})"};
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

void reportBlocks(Report& r, const BlocksRead& b) {
    const std::string& key = dispatchState.sectionKey;
    switch (b.keyBy) {
        case BlocksRead::KeyBy::host: r.line(keyByHost, {key, b.keyDetail}); break;
        case BlocksRead::KeyBy::source: r.line(keyBySource, {key, b.keyDetail}); break;
        case BlocksRead::KeyBy::blank: r.line(keyBlank, {key, b.keyDetail}); break;
        case BlocksRead::KeyBy::extension: r.line(keyByExtension, {key, b.keyDetail}); break;
    }
    if (b.sourceBlocksPassed > 0)
        r.line(sourcePassed, {targetSource().name, std::to_string(b.sourceBlocksPassed)});
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

}  // namespace

void writeOpenWords(Language language, CheckOutput& output, OpenResult& result) {
    DryRun& run = result.run;
    const Recognized& seen = result.seen;
    const std::string& text = result.text;
    const Decision decision = result.decision;
    Report r(language, output.out);
    r.line(settingsLabel, {programPaths.settingsPath});
    r.line(commandLineLabel, {result.commandLine});
    if (sourceWorthTelling(result.sourceGiven, text)) reportSource(r, result.sourceGiven);
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
    if (!result.atStart.empty()) {
        r.line(atStartLabel);
        for (const Effect& e : result.atStart) r.raw("  " + effectWords(e, language));
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
    for (const Effect& e : result.effects) {
        if (e.kind == Effect::Kind::menu || e.kind == Effect::Kind::listWindow) continue;  // the decision says it
        r.raw("  " + effectWords(e, language));
    }
    const Unopened why = unopenedReason(decision, seen.targets.size());
    if (why != Unopened::none) {
        for (std::size_t i = 1; i < seen.targets.size(); ++i)
            r.line(unopened, {std::to_string(i + 1), seen.targets[i].url});
        r.line(why == Unopened::firstOnly ? whyFirstOnly : whySystemFirst);
    }
    if (decision == Decision::menu && seen.targets.size() > 1)
        r.line(severalInMenu, {std::to_string(seen.targets.size())});
}
