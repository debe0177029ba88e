// Filling one entry of the URL list from a link that was just split.
#pragma once
#include <string_view>

#include "common/url_list.h"

// url (cleaned by the settings' rules, the URL as given kept beside it),
// title and kind; scheme and extension ("blank" when the path has none)
// from the URL split last (urlParts), or from the clean URL.
void fillLinkEntry(UrlEntry& entry, std::string_view url, std::string_view title, LinkKind kind);
