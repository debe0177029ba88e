// What the list window's commands need from the window itself: its rows,
// its menus' check marks, its dialogs, caption and icon, the clipboard
// chain and the row menu. The Windows build installs the real window at
// start; elsewhere a port without a window stands in.
#pragma once
#include <string>

#include "links/list_rows.h"

class ListWindowPort {
public:
    virtual ~ListWindowPort() = default;
    virtual ListRows& rows() = 0;
    // Sets every check mark of the menu bar from the current state.
    virtual void refreshMenuChecks() = 0;
    // The open dialog for a list file (linkMode 0) or an HTML page; empty
    // when cancelled.
    virtual std::string chooseLinkFile(int linkMode) = 0;
    // The folder browser; empty when cancelled.
    virtual std::string chooseShortcutFolder(int includeSubfolders) = 0;
    // Asks for a file and writes the checked rows; 1 when written or when
    // there is no row, 0 when cancelled or the file could not be written.
    virtual int saveList(int withTitles) = 0;
    virtual bool clipboardWatch() = 0;
    // Joins or leaves the clipboard-viewer chain.
    virtual void setClipboardWatch(bool on) = 0;
    virtual void setTopmost(bool on) = 0;
    // The selected list program's icon (the program's own for the
    // association menu) as the window's small icon.
    virtual void showProgramIcon() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Shows the row menu at the mouse (atCentre 0) or the window's centre
    // and returns the chosen id, 0 when it was dismissed.
    virtual int trackRowMenu(int atCentre) = 0;
};

ListWindowPort& listWindowPort();
// Makes `port` the one in use (null restores the stand-in); returns the
// previous one.
ListWindowPort* installListWindowPort(ListWindowPort* port);
