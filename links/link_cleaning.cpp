// Applying the settings' cleaning rules to one link and keeping the URL
// parts in step with what is kept.
#include "links/link_cleaning.h"

#include "common/capacity.h"
#include "links/url_cleaning.h"
#include "settings/settings.h"
#include "template/url_parts.h"

bool cleanForUse(std::string& url, std::string& given) {
    if (!settings.cleaning.any() || url.size() >= cap::url) return false;
    CleanedUrl cleaned = cleanUrl(url, settings.cleaning);
    if (!cleaned.changed || cleaned.url.size() >= cap::path) return false;
    const UrlParts asGiven = urlParts;
    if (!crackUrl(cleaned.url)) {
        urlParts = asGiven;
        return false;
    }
    given = std::move(url);
    url = std::move(cleaned.url);
    return true;
}

bool cleaningMakesItFit(std::string_view url) {
    if (!settings.cleaning.any() || url.size() >= cap::url) return false;
    const CleanedUrl cleaned = cleanUrl(url, settings.cleaning);
    return cleaned.changed && cleaned.url.size() < cap::path;
}
