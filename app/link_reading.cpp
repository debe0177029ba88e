// Link sources into the list: a file is read and converted, then a list of
// URLs goes through input recognition and a page through the tag scan; a
// web page is downloaded first and read with its URL as base.
#include "app/link_reading.h"

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/page_download.h"
#include "links/code_conversion.h"
#include "links/link_scan.h"
#include "links/page_head.h"
#include "links/page_tags.h"
#include "links/source_file.h"
#include "platform/ui_port.h"
#include "settings/settings.h"

namespace {

std::string fileNameOf(const std::string& path) {
    const PathParts parts = splitPath(path);
    return parts.name + parts.extension;
}

}  // namespace

int readLinkSource(platform::WindowHandle, const std::string& path) {
    LinkSourceText source;
    if (!source.read(path)) return 0;
    if (linkSource.kanjiConversion) convertKanji(source);

    if (linkSource.linkMode <= 0) {
        text::assignCut(linkSource.listTitle, fileNameOf(path), cap::path);
        text::assignCut(linkSource.listSource, path, cap::url);
        source.crToLf();
        recognizeInput(source.text(), 1, 0);
    } else {
        const std::string_view page = source.text();
        const PageTags tags(page);
        const std::string base = findBaseElement(page, tags);
        if (!base.empty()) {
            text::assignCut(linkSource.baseUrl, base, cap::path);
            linkSource.linkMode = 1;
        }
        text::assignCut(linkSource.listTitle, findPageTitle(page, tags), cap::path);
        if (linkSource.listTitle.empty())
            text::assignCut(linkSource.listTitle, fileNameOf(path), cap::path);
        scanLinks(page, tags, linkSource.baseUrl, linkSource.linkMode);
    }
    ui().fillListView(0);
    return 1;
}

bool downloadAndExtract(platform::WindowHandle window, const std::string& url) {
    text::assignCut(linkSource.listSource, url, cap::url);
    const std::string saved = downloadPage(window, url, settings.tempFolder);
    if (saved == cancelMarker) return false;
    text::assignCut(linkSource.baseUrl, url, cap::path);
    linkSource.linkMode = 1;
    return readLinkSource(window, saved) != 0;
}
