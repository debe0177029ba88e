// The shared URL table and its snapshot.
#include "common/url_list.h"

#include "common/capacity.h"
#include "common/text.h"

UrlList urlList;
SavedUrlList savedUrlList;

void saveUrlList() {
    savedUrlList.count = urlList.urlCount;
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i) {
        text::assignCut(savedUrlList.entries[i].url, urlList.entries[i].url, cap::path);
        savedUrlList.entries[i].kind = urlList.entries[i].kind;
        savedUrlList.entries[i].givenUrl = urlList.entries[i].givenUrl;
    }
}

void restoreUrlList() {
    for (int i = 0; i < savedUrlList.count && i < maxUrlEntries; ++i) {
        urlList.entries[i].url = savedUrlList.entries[i].url;
        urlList.entries[i].kind = savedUrlList.entries[i].kind;
        urlList.entries[i].givenUrl = savedUrlList.entries[i].givenUrl;
    }
    urlList.urlCount = savedUrlList.count;
}

std::string savedGivenUrl(const std::string& url) {
    for (int i = 0; i < savedUrlList.count && i < maxUrlEntries; ++i)
        if (savedUrlList.entries[i].url == url) return savedUrlList.entries[i].givenUrl;
    return std::string();
}
