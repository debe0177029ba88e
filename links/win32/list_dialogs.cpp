// Dialogs of the list window. A list file that cannot be written is
// reported, and the old file is kept whole: what the list shows and what a
// list file holds are never lost silently.
#include "links/win32/list_dialogs.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "links/list_rows_ops.h"
#include "links/win32/file_replace.h"
#include "platform/win32/ui_libraries.h"
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

}  // namespace

std::string chooseLinkFile(HWND owner, int linkMode) {
    char path[cap::path] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = path;
    dialog.nMaxFile = cap::path - 1;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    ProgramFolderAfterDialog programFolderAfter;
    if (linkMode == 0) {
        dialog.lpstrTitle = "URLリストファイル選択";
        dialog.lpstrFilter = textFilter;
        dialog.lpstrDefExt = "txt";
    } else {
        dialog.lpstrTitle = "URL抜き出しファイル選択";
        dialog.lpstrFilter = htmlFilter;
        dialog.lpstrDefExt = "html";
    }
    if (!platform::openFileDialog(dialog)) return {};
    return path;
}

std::string chooseShortcutFolder(HWND owner, int includeSubfolders) {
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = includeSubfolders == 1 ? "ショートカットフォルダ選択（サブフォルダ含む）"
                                              : "ショートカットフォルダ選択";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    ProgramFolderAfterDialog programFolderAfter;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return {};
    char path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return named ? std::string(path) : std::string();
}

int saveList(HWND owner, ListRows& rows, int withTitles) {
    if (rows.count() == 0) return 1;
    // An empty file would only take the place of a list written earlier.
    if (checkedRowCount(rows) == 0) {
        MessageBoxA(owner, "チェックされた行がありません。\r\n書き込みは行いませんでした。", "注意",
                    MB_OK | MB_ICONWARNING);
        return 0;
    }
    char path[cap::path] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = textFilter;
    dialog.lpstrDefExt = "txt";
    dialog.lpstrFile = path;
    dialog.nMaxFile = cap::path - 1;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    {
        ProgramFolderAfterDialog programFolderAfter;
        if (!platform::saveFileDialog(dialog)) return 0;
    }

    const std::string text = listFileText(rows, withTitles == 1, settings.titleSeparator);
    const SaveResult result = replaceFileWith(path, text);
    if (result != SaveResult::written) {
        std::string message = std::string(path) + "\r\nに書き込めませんでした。";
        // The list was left as it was: the folder takes no new file.
        if (result == SaveResult::noTemporary)
            message += "\r\n同じフォルダに一時ファイルを作れません。";
        MessageBoxA(owner, message.c_str(), "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    MessageBeep(MB_ICONASTERISK);
    return 1;
}
