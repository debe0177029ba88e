// Link extraction from a page: the base element and title, the tag scan
// of anchors and images with their texts, and relative links made
// absolute. The input is the page, read as a local HTML file with a base
// URL (mode 1, where a base element in the page replaces it) and without
// one (mode 2).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/link_reading.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"
#include "links/link_resolve.h"
#include "links/link_scan.h"
#include "links/page_head.h"
#include "links/page_tags.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(inputText(data, size));
    for (int mode = 1; mode <= 2; ++mode) {
        FuzzPlatform& os = resetCore();
        os.addFile("C:\\Pages\\page.html", page);
        linkSource.kanjiConversion = 0;
        linkSource.linkMode = mode;
        if (mode == 1) linkSource.baseUrl = "http://user@host:8080/dir/sub/page.html?q=1#top";
        // Links collected with cleaning on, and as they stand.
        if (mode == 1) useSampleCleaning();
        FUZZ_CHECK(readLinkSource(nullptr, "C:\\Pages\\page.html") == 1, "the page is read");
        FUZZ_CHECK(urlList.urlCount <= maxScannedLinks, "at most 500 links");
        checkUrlList();
        checkUrlParts();
        checkListRoundTrip();
    }

    // The notes of the page's tags answer as a search would, and what they
    // find is an opening: its name, and for the elements with attributes a
    // blank, tab, CR or LF after it (for the base element, then 'href="').
    const std::string_view names[PageTags::kindCount] = {"<a", "</a>", "<img", "<title>", "<base"};
    const PageTags tags(page);
    for (int kind = 0; kind < PageTags::kindCount; ++kind) {
        const auto k = static_cast<PageTags::Kind>(kind);
        for (std::size_t from : {std::size_t{0}, page.size() / 3, page.size() / 2, page.size()}) {
            const std::size_t at = tags.find(k, from);
            FUZZ_CHECK(at == PageTags::search(page, k, from), "tag notes");
            if (at == text::npos) continue;
            FUZZ_CHECK(at >= from && text::startsWithNoCase(std::string_view(page).substr(at), names[kind]),
                       "an opening's name");
            const std::string_view opening = std::string_view(page).substr(at, PageTags::openingAt(page, at, k));
            const std::size_t name = names[kind].size();
            if (k == PageTags::AnchorEnd || k == PageTags::TitleStart) {
                FUZZ_CHECK(opening.size() == name, "an opening without attributes");
                continue;
            }
            FUZZ_CHECK(opening.size() > name && std::strchr(" \t\r\n", opening[name]) != nullptr && opening[name] != 0,
                       "a blank or line end after the name");
            if (k == PageTags::BaseStart)
                FUZZ_CHECK(text::equalsNoCase(opening.substr(opening.size() - 6), "href=\""), "the base's href");
            else
                FUZZ_CHECK(opening.size() == name + 1, "an anchor's or image's opening");
        }
    }

    // The head readers keep to their limits.
    FUZZ_CHECK(findBaseElement(page).size() <= 247, "base element");
    FUZZ_CHECK(findPageTitle(page).size() <= 252, "title");
    // Cleaning lengthens a value at most threefold: a three-byte reference
    // ("&#0") to a character written as nine ("%EF%BF%BD").
    FUZZ_CHECK(cleanLinkValue(page).size() <= 3 * page.size(), "cleaning");
    return 0;
}
