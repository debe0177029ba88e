// Cleaning a web link before it is opened or listed: a redirect link is
// replaced by the target it carries, and tracking parameters are dropped
// from the query. Only http and https links are cleaned; the rest of the
// URL (other parameters, their order and escapes, the fragment) stays
// byte for byte.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "settings/cleaning_options.h"

// One change cleaning made, for telling the user which rule did what.
struct CleaningStep {
    bool unwrapped = false;  // else a parameter was dropped
    bool builtIn = false;    // by a built-in redirector or the default list
    // Unwrapped: the redirector ("Google: www.google.com/url?q" for a
    // built-in one, the "@unwrap=" entry as read for the user's). Dropped:
    // the strip name as written ("utm_*").
    std::string rule;
    // Unwrapped: the link it was found in. Dropped: the parameter as it
    // stood ("utm_source=mail").
    std::string detail;
};

struct CleanedUrl {
    std::string url;  // the clean URL; the URL as given when no rule applied
    std::vector<CleaningStep> steps;  // when asked for
    bool changed = false;
};

// How many redirect links within each other are unwrapped at most.
constexpr int maxUnwrapDepth = 4;

// Cleans `url` by `rules`. A redirect link is replaced by its target (the
// parameter's value with its escapes decoded once, except those of bytes
// no URL holds as they stand) only when that is itself an http or https
// link; its host is then read as browsers read it (links/target_host.h:
// escaped UTF-8 decoded, a '\' ending it as a '/'), so that host blocks
// see the host the browser opens. Nested ones are unwrapped in turn. Then
// the parameters `rules`
// name are dropped, ignoring ASCII case, with "&amp;" taken for '&' as
// in a page's source; a query of no "name=value" pair is left alone, and
// one left empty loses its '?'.
// `tellSteps`: fill in `steps` (the check tool's account; opening a link
// needs none).
CleanedUrl cleanUrl(std::string_view url, const LinkCleaning& rules, bool tellSteps = false);

// Whether `url` begins with "http://" or "https://" (any case).
bool isWebLink(std::string_view url);
