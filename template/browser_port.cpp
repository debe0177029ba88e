// The browser hand-over in use, with a silent stand-in until the program
// installs the bridge.
#include "template/browser_port.h"

namespace {
class SilentBrowser final : public BrowserPort {
public:
    void sendUrlToBrowser(std::string_view, const std::string&) override {}
};
SilentBrowser silentBrowser;
BrowserPort* current = nullptr;
}  // namespace

BrowserPort& browserPort() { return current ? *current : silentBrowser; }

BrowserPort* installBrowserPort(BrowserPort* port) {
    BrowserPort* previous = current;
    current = port;
    return previous;
}
