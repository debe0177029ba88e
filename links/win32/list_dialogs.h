// The list window's dialogs: the open dialog for list files and pages, the
// folder browser for shortcut folders, and writing a list file. After each
// of them the program's folder is the current folder.
#pragma once
#include <string>

#include "links/list_rows.h"
#include "platform/win32/win.h"

// linkMode 0: a list file; otherwise an HTML file. Empty when cancelled.
std::string chooseLinkFile(HWND owner, int linkMode);
// A file-system folder; empty when cancelled.
std::string chooseShortcutFolder(HWND owner, int includeSubfolders);

// Asks for a file name and writes the checked rows (with their titles when
// asked). 1 when written or when there are no rows, 0 when no row is
// checked (a box says so, and no file is asked for), the user cancelled,
// or the file could not be written (reported; an old file keeps its
// bytes).
int saveList(HWND owner, ListRows& rows, int withTitles);
