// Recording stand-ins for the menu, the list window and the hand-over.
#include "check/recording_ports.h"

#include "bridge/bridge.h"
#include "common/app_state.h"

void RecordingUi::showAssociationMenu(platform::WindowHandle, int toolsMenu, int) {
    Effect e;
    e.kind = Effect::Kind::menu;
    e.number = toolsMenu;
    log_.add(e);
}

bool RecordingUi::createListWindow(platform::WindowHandle) {
    Effect e;
    e.kind = Effect::Kind::listWindow;
    log_.add(e);
    return listWindowOpens_;
}

void RecordingUi::fillListView(int captionOnly) {
    listTitle = linkSource.listTitle;
    // A fill that only refreshes the caption keeps the rows shown.
    if (captionOnly == 1 && filled) return;
    filled = true;
    rows.clear();
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i)
        rows.push_back(urlList.entries[static_cast<std::size_t>(i)]);
}

void RecordingBrowser::sendUrlToBrowser(std::string_view serviceName,
                                        const std::string& fallbackProgram) {
    Effect e;
    e.kind = Effect::Kind::handOver;
    e.file = std::string(serviceName);
    e.parameters = runState.currentTarget;
    e.directory = fallbackProgram;
    log_.add(e);
    ::sendUrlToBrowser(serviceName, fallbackProgram);
}

ScopedPorts::ScopedPorts(platform::Platform& os, UiPort& ui, BrowserPort& browser)
    : previousOs_(platform::installPlatform(&os)),
      previousUi_(installUi(&ui)),
      previousBrowser_(installBrowserPort(&browser)) {}

ScopedPorts::~ScopedPorts() {
    installBrowserPort(previousBrowser_);
    installUi(previousUi_);
    platform::installPlatform(previousOs_);
}
