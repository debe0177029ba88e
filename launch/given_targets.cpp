// Swapping the URLs as given into urlList and back.
#include "launch/given_targets.h"

#include <utility>

#include "common/url_list.h"

GivenTargets::GivenTargets(bool on) {
    if (!on) return;
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i) {
        UrlEntry& entry = urlList.entries[static_cast<std::size_t>(i)];
        if (entry.givenUrl.empty()) continue;
        swapped_.push_back({i, entry.url});
        std::swap(entry.url, entry.givenUrl);
    }
}

GivenTargets::~GivenTargets() {
    // A start may have emptied the list (urlCount 0) but leaves the
    // entries; one that something refilled meanwhile is left alone.
    for (const Swapped& s : swapped_) {
        UrlEntry& entry = urlList.entries[static_cast<std::size_t>(s.index)];
        if (entry.givenUrl == s.clean) std::swap(entry.url, entry.givenUrl);
    }
}
