// One URL list entry from a link and the parts of its last split.
#include "links/link_entry.h"

#include <string>

#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "links/link_cleaning.h"
#include "template/url_parts.h"

void fillLinkEntry(UrlEntry& entry, std::string_view url, std::string_view title, LinkKind kind) {
    std::string kept(url), given;
    cleanForUse(kept, given);
    text::assignCut(entry.url, kept, cap::url);
    text::assignCut(entry.givenUrl, given, cap::url);
    text::assignCut(entry.title, title, cap::path);
    text::assignCut(entry.scheme, urlParts.scheme, cap::scheme);
    const std::string extension = splitPath(urlParts.urlPath).extension;
    text::assignCut(entry.extension, extension.empty() ? "blank" : extension, cap::path);
    entry.kind = kind;
}
