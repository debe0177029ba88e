// Link sources into the list. Link extraction arrives with the list
// window; until then no file can be read as a link source.
#include "app/link_reading.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "launch/page_download.h"
#include "settings/settings.h"

int readLinkSource(platform::WindowHandle, const std::string&) { return 0; }

bool downloadAndExtract(platform::WindowHandle window, const std::string& url) {
    text::assignCut(linkSource.listSource, url, cap::url);
    const std::string saved = downloadPage(window, url, settings.tempFolder);
    if (saved == cancelMarker) return false;
    text::assignCut(linkSource.baseUrl, url, cap::path);
    linkSource.linkMode = 1;
    return readLinkSource(window, saved) != 0;
}
