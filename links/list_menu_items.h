// The list window's menus as tables: the menu bar, its four popups and the
// row menu, and the check marks that follow the window's state. The
// window build turns the tables into menus.
#pragma once
#include <string>
#include <vector>

enum ListMenuId : int {
    idSeparator = 899,
    idOpenList = 900,
    idExtractLinks = 901,
    idBrowserPage = 902,
    idShortcutFolder = 903,
    idClipboardWatch = 904,
    idWrite = 905,
    idWriteWithTitles = 906,
    idKanjiConversion = 907,
    idAlwaysOnTop = 908,
    idExit = 909,
    idFirstProgram = 910,
    idRowExtract = 925,
    idAssociation = 930,
    idFirstFilterGroup = 940,
    idCheckAll = 950,
    idUncheckAll = 951,
    idInvertChecks = 952,
    idUncheckAfterRun = 960,
    idCheckNextAfterRun = 961,
    idRemoveDuplicates = 965,
    idShowAnchors = 968,
    idShowImages = 969,
    idPaste = 998,
    idRun = 999,
};

struct ListMenuItem {
    std::string text;  // empty for a separator
    int id = 0;
    bool separator = false;
};

std::vector<ListMenuItem> fileMenuItems();
// "関連付け(&0)" and, after a separator, the list programs' captions.
std::vector<ListMenuItem> programMenuItems();
// One item per filter group: "&N " and each item followed by a blank.
std::vector<ListMenuItem> filterMenuItems();
std::vector<ListMenuItem> selectMenuItems();
// The program items, a separator and "リンク抽出(&1)".
std::vector<ListMenuItem> rowMenuItems();

struct ListMenuPopup {
    std::string text;
    std::vector<ListMenuItem> items;
};
// The bar's popups in order; the bar ends with the commands of
// barCommands().
std::vector<ListMenuPopup> menuBarPopups();
std::vector<ListMenuItem> barCommands();

struct ListMenuMark {
    int id;
    bool checked;
};
// Every check mark of the bar as the state says, given whether the window
// watches the clipboard.
std::vector<ListMenuMark> listMenuMarks(bool clipboardWatch);
