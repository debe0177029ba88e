// Link cleaning with the settings' rules, for the places that put links
// into the URL list: recognised input, collected links, the browser's page.
#pragma once
#include <string>
#include <string_view>

// True when the settings' cleaning changes `url` into a URL that can be
// opened (shorter than 260 characters, and it splits): `url` then holds
// the clean URL, `given` the URL as it was, and urlParts the clean URL's
// parts. Otherwise nothing changes, urlParts included.
bool cleanForUse(std::string& url, std::string& given);

// Whether the settings' cleaning turns `url`, too long to open as it
// stands, into one that can be opened. URLs longer than a list entry
// holds (519 characters) are not tried: the row that asks for the URL as
// given could not have it.
bool cleaningMakesItFit(std::string_view url);
