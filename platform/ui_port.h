// The operations of the window layer that the portable core calls: the
// association menu, the list window and closing the program. The Windows
// build installs the real ones at start; elsewhere a port that shows
// nothing stands in.
#pragma once
#include "platform/platform.h"

class UiPort {
public:
    virtual ~UiPort() = default;
    // The association menu (toolsMenu 1: the tools only). Returns when the
    // menu has closed and the chosen row has run.
    virtual void showAssociationMenu(platform::WindowHandle window, int toolsMenu,
                                     int samePosition) = 0;
    // Gives the main window the list view and shows it; false when there is
    // no list window to open.
    virtual bool createListWindow(platform::WindowHandle window) = 0;
    // captionOnly 0: rebuilds the list rows from urlList, brings the window
    // forward and refreshes its caption; 1: refreshes the caption only.
    virtual void fillListView(int captionOnly) = 0;
    // Ends the program by closing its main window.
    virtual void closeWindow(platform::WindowHandle window) = 0;
};

UiPort& ui();
// Makes `port` the one in use (null restores the silent default); returns
// the previous one.
UiPort* installUi(UiPort* port);
