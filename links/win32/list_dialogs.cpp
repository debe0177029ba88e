// Dialogs of the list window. A list file that cannot be written is
// reported: what the list shows is never lost silently.
#include "links/win32/list_dialogs.h"

#include <algorithm>

#include "common/capacity.h"
#include "links/list_rows_ops.h"
#include "platform/win32/scoped.h"
#include "settings/settings.h"

namespace {

// Filter texts: pairs of description and pattern, each ended by a NUL, the
// list ended by one more.
const char textFilter[] = "テキストファイル(*.txt)\0*.txt\0全てのファイル(*.*)\0*.*\0";
const char htmlFilter[] = "HTMLファイル(*.html;*.htm)\0*.html;*.htm\0全てのファイル(*.*)\0*.*\0";

// Creates the file and writes all of `bytes`; false on any failure.
bool writeWholeFile(const std::string& path, const std::string& bytes) {
    win::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    // A device name ("com1") opens the device, which is no list file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

std::string chooseLinkFile(HWND owner, int linkMode) {
    char path[cap::path] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = path;
    dialog.nMaxFile = cap::path - 1;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (linkMode == 0) {
        dialog.lpstrTitle = "URLリストファイル選択";
        dialog.lpstrFilter = textFilter;
        dialog.lpstrDefExt = "txt";
    } else {
        dialog.lpstrTitle = "URL抜き出しファイル選択";
        dialog.lpstrFilter = htmlFilter;
        dialog.lpstrDefExt = "html";
    }
    if (!GetOpenFileNameA(&dialog)) return {};
    return path;
}

std::string chooseShortcutFolder(HWND owner, int includeSubfolders) {
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = includeSubfolders == 1 ? "ショートカットフォルダ選択（サブフォルダ含む）"
                                              : "ショートカットフォルダ選択";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return {};
    char path[MAX_PATH] = {};
    const bool named = SHGetPathFromIDListA(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return named ? std::string(path) : std::string();
}

int saveList(HWND owner, ListRows& rows, int withTitles) {
    if (rows.count() == 0) return 1;
    char path[cap::path] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = textFilter;
    dialog.lpstrDefExt = "txt";
    dialog.lpstrFile = path;
    dialog.nMaxFile = cap::path - 1;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog)) return 0;

    const std::string text = listFileText(rows, withTitles == 1, settings.titleSeparator);
    if (!writeWholeFile(path, text)) {
        const std::string message = std::string(path) + "\r\nに書き込めませんでした。";
        MessageBoxA(owner, message.c_str(), "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    MessageBeep(MB_ICONASTERISK);
    return 1;
}
