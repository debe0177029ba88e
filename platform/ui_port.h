// The operations of the window layer that the portable core calls: the
// association menu, the list window and closing the program. The Windows
// build installs the real ones at start; elsewhere a port that shows
// nothing stands in.
#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"

// The small window that shows how a download is getting on, with a Cancel
// button; closed when the object goes.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows the figures: `amount` (bytes so far, and of how many), `rate`,
    // and the bar at `permille` (-1 when the size is unknown). Handles the
    // input that is waiting; false once the user has asked to cancel.
    virtual bool update(const std::string& amount, const std::string& rate, int permille) = 0;
};

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
    // Input waits in the queue (app/input_queue) and no work runs any
    // more: have it taken up from the message loop.
    virtual void queuedInputWaiting(platform::WindowHandle /*window*/) {}
    // Opens the progress window of a download saved as `fileName`, owned by
    // `window`; null where there is none to show.
    virtual std::unique_ptr<ProgressWindow> openProgressWindow(platform::WindowHandle /*window*/,
                                                               const std::string& /*fileName*/) {
        return nullptr;
    }
};

UiPort& ui();
// Makes `port` the one in use (null restores the silent default); returns
// the previous one.
UiPort* installUi(UiPort* port);
