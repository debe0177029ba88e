// Menu tables of the list window.
#include "links/list_menu_items.h"

#include "common/app_state.h"
#include "links/list_state.h"
#include "settings/settings.h"

namespace {

ListMenuItem item(const char* text, int id) { return {text, id, false}; }
ListMenuItem separator() { return {"", idSeparator, true}; }

}  // namespace

std::vector<ListMenuItem> fileMenuItems() {
    return {
        item("開く(&O)", idOpenList),
        item("リンク抽出(&L)", idExtractLinks),
        separator(),
        item("DDE読み込み(&D)", idBrowserPage),
        item("ショートカット読み込み(&S)", idShortcutFolder),
        item("クリップボード監視(&C)", idClipboardWatch),
        separator(),
        item("書き込み(&W)", idWrite),
        item("タイトル付き書き込み(&T)", idWriteWithTitles),
        separator(),
        item("漢字変換(&K)", idKanjiConversion),
        item("最前面表示(&Z)", idAlwaysOnTop),
        item("終了(&X)　：　Ver.U_1.25", idExit),
    };
}

std::vector<ListMenuItem> programMenuItems() {
    std::vector<ListMenuItem> items{item("関連付け(&0)", idAssociation)};
    if (listPrograms.listProgramCount > 0) items.push_back(separator());
    for (int i = 0; i < listPrograms.listProgramCount; ++i)
        items.push_back({listPrograms.rows[i].caption, idFirstProgram + i, false});
    return items;
}

std::vector<ListMenuItem> filterMenuItems() {
    std::vector<ListMenuItem> items;
    for (int i = 0; i < filterGroups.groupCount; ++i) {
        const FilterGroup& group = filterGroups.groups[i];
        std::string text = "&" + std::to_string(i) + " ";
        for (int k = 0; k < group.count; ++k) text += group.items[k] + " ";
        items.push_back({text, idFirstFilterGroup + i, false});
    }
    return items;
}

std::vector<ListMenuItem> selectMenuItems() {
    return {
        item("すべて選択(&N)", idCheckAll),
        item("すべて解除(&M)", idUncheckAll),
        item("反転(&R)", idInvertChecks),
        separator(),
        item("実行後チェックをOFF(&A)", idUncheckAfterRun),
        item("実行後次をチェック(&B)", idCheckNextAfterRun),
        separator(),
        item("重複URL削除(&D)", idRemoveDuplicates),
        separator(),
        item("<a href= (&H)", idShowAnchors),
        item("<img src= (&I)", idShowImages),
    };
}

std::vector<ListMenuItem> rowMenuItems() {
    std::vector<ListMenuItem> items = programMenuItems();
    items.push_back(separator());
    items.push_back(item("リンク抽出(&1)", idRowExtract));
    return items;
}

std::vector<ListMenuPopup> menuBarPopups() {
    return {
        {"ファイル(&F)", fileMenuItems()},
        {"プログラム(&A)", programMenuItems()},
        {"フィルタ(&M)", filterMenuItems()},
        {"選択(&S)", selectMenuItems()},
    };
}

std::vector<ListMenuItem> barCommands() {
    return {item("貼り付け(&P)", idPaste), item("実行(&E)", idRun)};
}

std::vector<ListMenuMark> listMenuMarks(bool clipboardWatch) {
    std::vector<ListMenuMark> marks{
        {idClipboardWatch, clipboardWatch},
        {idKanjiConversion, linkSource.kanjiConversion == 1},
        {idAlwaysOnTop, listWindow.alwaysOnTop == 1},
        {idUncheckAfterRun, listWindow.uncheckAfterRun == 1},
        {idCheckNextAfterRun, listWindow.checkNextAfterRun == 1},
        {idShowAnchors, listWindow.kindFilter != showImagesOnly},
        {idShowImages, listWindow.kindFilter != showAnchorsOnly},
    };
    const int selected = listPrograms.selectedListProgram;
    marks.push_back({idAssociation, selected >= associationProgram});
    for (int i = 0; i < listPrograms.listProgramCount; ++i)
        marks.push_back({idFirstProgram + i, selected == i});
    for (int i = 0; i < filterGroups.groupCount; ++i)
        marks.push_back({idFirstFilterGroup + i, filterGroups.selectedFilterGroup == i});
    return marks;
}
