// The program side of the browser bridge: the library is loaded from the
// program's folder for each call and freed before it returns; without it,
// queries fail and hand-overs fall back to starting the association's
// program.
#include "bridge/bridge.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "platform/platform.h"
#include "settings/settings.h"

std::string browserUrl;

namespace {
std::string bridgeLibraryPath() { return programFolderFile("tvDDE.dll"); }
}  // namespace

int getActiveBrowserUrl(std::string_view serviceName, int mode) {
    urlList.urlCount = 0;
    clearOverlongUrls();
    std::unique_ptr<platform::BridgeLibrary> library = platform::os().loadBridgeLibrary(bridgeLibraryPath());
    if (!library || !library->hasGetActiveBrowseInfo()) return 0;
    std::string reply;
    bool answered = false;
    if (mode == 2) {
        answered = library->getActiveBrowseInfo(std::string(serviceName), reply) != 0;
    } else {
        for (int i = 0; i < settings.browserServiceCount && !answered; ++i)
            answered = library->getActiveBrowseInfo(settings.browserServices[i], reply) != 0;
    }
    if (!answered || !library->hasGetDdeStr()) return 0;
    std::string url;
    const int split = library->getDdeStr(reply, url);
    // An answer without a URL (a blank window, a reply of empty fields)
    // names no page: dispatching it would start a program with nothing.
    if (url.empty()) return 0;
    // Nor would the start of a longer URL name the page the browser shows.
    if (split < 0) {
        noteOverlongUrl(url, overlong::url);
        return 0;
    }
    text::assignCut(browserUrl, url, cap::path);
    return 1;
}

void sendUrlToBrowser(std::string_view serviceName, const std::string& fallbackProgram) {
    const std::string url = text::cut(quoteSpaces(runState.currentTarget), cap::url);
    {
        std::unique_ptr<platform::BridgeLibrary> library =
            platform::os().loadBridgeLibrary(bridgeLibraryPath());
        if (library && library->hasSetBrowseUrl()) {
            if (!serviceName.empty()) {
                if (library->setBrowseUrl(std::string(serviceName), url) != 0) return;
            } else {
                for (int i = 0; i < settings.browserServiceCount; ++i)
                    if (library->setBrowseUrl(settings.browserServices[i], url) != 0) return;
            }
        }
    }  // the library is freed before the fallback starts
    PathParts parts = splitPath(fallbackProgram);
    platform::os().shellExecute(nullptr, fallbackProgram, url, parts.drive + parts.directory);
    urlList.urlCount = 0;
}

namespace {
class BridgeBrowserPort final : public BrowserPort {
public:
    void sendUrlToBrowser(std::string_view serviceName, const std::string& fallbackProgram) override {
        ::sendUrlToBrowser(serviceName, fallbackProgram);
    }
};
BridgeBrowserPort bridgePort;
}  // namespace

BrowserPort& bridgeBrowserPort() { return bridgePort; }
