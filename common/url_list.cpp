// The shared URL table and its snapshot.
#include "common/url_list.h"

#include "common/app_state.h"

UrlList urlList;
SavedUrlList savedUrlList;

void saveUrlList() {
    savedUrlList.count = urlList.urlCount;
    savedUrlList.source = urlList.source;
    savedUrlList.sourceIsStart = urlList.sourceIsStart;
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i)
        savedUrlList.entries[i] = urlList.entries[i];
}

void restoreUrlList() {
    for (int i = 0; i < savedUrlList.count && i < maxUrlEntries; ++i)
        urlList.entries[i] = savedUrlList.entries[i];
    urlList.urlCount = savedUrlList.count;
    urlList.source = savedUrlList.source;
    urlList.sourceIsStart = savedUrlList.sourceIsStart;
}

const SourceProgram& targetSource() { return urlList.sourceIsStart ? startSource() : urlList.source; }

void takeStartSource() {
    urlList.source = SourceProgram{};
    urlList.sourceIsStart = true;
}

void takeSource(const SourceProgram& source) {
    urlList.source = source;
    urlList.sourceIsStart = false;
}

std::string savedGivenUrl(const std::string& url) {
    for (int i = 0; i < savedUrlList.count && i < maxUrlEntries; ++i)
        if (savedUrlList.entries[i].url == url) return savedUrlList.entries[i].givenUrl;
    return std::string();
}
