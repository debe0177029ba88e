// Dialogs of the list window. A list file that cannot be written is
// reported, and the old file is kept whole: what the list shows and what a
// list file holds are never lost silently.
#include "links/win32/list_dialogs.h"

#include <string_view>

#include "common/app_state.h"
#include "common/capacity.h"
#include "links/list_rows_ops.h"
#include "links/win32/file_replace.h"
#include "platform/platform.h"
#include "platform/win32/code_page.h"
#include "platform/win32/ui_libraries.h"
#include "platform/win32/wide_names.h"
#include "settings/settings.h"

namespace {

// Filter texts: pairs of description and pattern, each ended by a NUL, the
// list ended by one more.
const char textFilter[] = "テキストファイル(*.txt)\0*.txt\0全てのファイル(*.*)\0*.*\0";
const char htmlFilter[] = "HTMLファイル(*.html;*.htm)\0*.html;*.htm\0全てのファイル(*.*)\0*.*\0";

// The file dialogs make the folder the user browsed to the current one. A
// program named in the settings without a folder must not be looked for
// there: as each dialog closes, the program's folder is the current one
// again.
class ProgramFolderAfterDialog {
public:
    ProgramFolderAfterDialog() = default;
    ~ProgramFolderAfterDialog() {
        if (!programPaths.programFolder.empty()) SetCurrentDirectoryA(programPaths.programFolder.c_str());
    }
    ProgramFolderAfterDialog(const ProgramFolderAfterDialog&) = delete;
    ProgramFolderAfterDialog& operator=(const ProgramFolderAfterDialog&) = delete;
};

// A name the dialog gave, in code page 932; empty (the name recorded for
// the box that says why) when no such name reaches it, and empty when it is
// longer than the program's path buffers hold, as the ANSI dialog refused
// such a name.
std::string chosenName(const wchar_t* wide) {
    std::string name;
    if (!platform::windowsName(wide, name) || name.size() >= cap::path) return std::string();
    return name;
}

// The dialog's texts in their wide forms, kept while the dialog shows.
struct DialogTexts {
    std::u16string title, filter, extension;
};

void setUp(OPENFILENAMEW& dialog, HWND owner, wchar_t* path, const DialogTexts& texts) {
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = path;
    dialog.nMaxFile = cap::path - 1;
    dialog.lpstrTitle = texts.title.empty() ? nullptr : platform::wideChars(texts.title);
    dialog.lpstrFilter = platform::wideChars(texts.filter);
    dialog.lpstrDefExt = platform::wideChars(texts.extension);
}

}  // namespace

std::string chooseLinkFile(HWND owner, int linkMode) {
    wchar_t path[cap::path] = {};
    // The filters' NULs are part of the text converted.
    const DialogTexts texts =
        linkMode == 0
            ? DialogTexts{platform::wideFromCp932("URLリストファイル選択"),
                          platform::wideFromCp932(std::string_view(textFilter, sizeof textFilter)), u"txt"}
            : DialogTexts{platform::wideFromCp932("URL抜き出しファイル選択"),
                          platform::wideFromCp932(std::string_view(htmlFilter, sizeof htmlFilter)), u"html"};
    OPENFILENAMEW dialog{};
    setUp(dialog, owner, path, texts);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    ProgramFolderAfterDialog programFolderAfter;
    if (!platform::openFileDialog(dialog)) return {};
    return chosenName(path);
}

std::string chooseShortcutFolder(HWND owner, int includeSubfolders) {
    const std::u16string title = platform::wideFromCp932(
        includeSubfolders == 1 ? "ショートカットフォルダ選択（サブフォルダ含む）" : "ショートカットフォルダ選択");
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = platform::wideChars(title);
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    ProgramFolderAfterDialog programFolderAfter;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return named ? chosenName(path) : std::string();
}

int saveList(HWND owner, ListRows& rows, int withTitles) {
    if (rows.count() == 0) return 1;
    // An empty file would only take the place of a list written earlier.
    if (checkedRowCount(rows) == 0) {
        platform::os().messageBox(owner, "チェックされた行がありません。\r\n書き込みは行いませんでした。",
                                  "注意", platform::mbOk | platform::mbIconWarning);
        return 0;
    }
    wchar_t wide[cap::path] = {};
    const DialogTexts texts{std::u16string(),
                            platform::wideFromCp932(std::string_view(textFilter, sizeof textFilter)), u"txt"};
    OPENFILENAMEW dialog{};
    setUp(dialog, owner, wide, texts);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    {
        ProgramFolderAfterDialog programFolderAfter;
        if (!platform::saveFileDialog(dialog)) return 0;
    }
    // A new name the code page cannot hold has no short name yet: nothing
    // is written rather than a file of a look-alike name (the caller shows
    // the box that names it).
    const std::string path = chosenName(wide);
    if (path.empty()) return 0;

    const std::string text = listFileText(rows, withTitles == 1, settings.titleSeparator);
    const SaveResult result = replaceFileWith(path, text);
    if (result != SaveResult::written) {
        std::string message = std::string(path) + "\r\nに書き込めませんでした。";
        // The list was left as it was: the folder takes no new file.
        if (result == SaveResult::noTemporary)
            message += "\r\n同じフォルダに一時ファイルを作れません。";
        platform::os().messageBox(owner, message, "エラー", platform::mbOk | platform::mbIconError);
        return 0;
    }
    MessageBeep(MB_ICONASTERISK);
    return 1;
}
