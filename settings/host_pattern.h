// Host patterns of "[host:...]" headers: "example.com" names that host,
// "*.example.com" the domain and every host below it. ASCII case and a
// port are ignored; any other byte (a host written in Japanese, say) is
// compared as written, so a pattern in Shift_JIS never matches the
// host's "xn--" form and the other way round.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// How a pattern is written, for the settings check as much as for matching.
enum class HostPatternForm {
    exact,     // "example.com"
    wildcard,  // "*.example.com"
    empty,     // nothing between two ';' (or only blanks, or only a port)
    malformed, // a '*' elsewhere, or a character no host holds ("/", "@" ...)
};

// The form of one pattern (blanks around it and a ":port" at its end are
// not part of it).
HostPatternForm hostPatternForm(std::string_view pattern);

// True when `host` (as a URL splitter gives it: no port, no user) is named
// by the one pattern. Empty and malformed patterns name no host.
bool hostMatchesPattern(std::string_view host, std::string_view pattern);

// The items of a pattern list separated by ';', as written (blanks kept).
std::vector<std::string_view> splitHostPatterns(std::string_view list);

// True when any pattern of the list names `host`. An empty host (a URL
// without one) is named by none.
bool hostMatchesPatternList(std::string_view host, std::string_view list);

// True when every host `later` names is named by `earlier` too, so that a
// block with `later` after one with `earlier` is never chosen by it.
bool hostPatternCovers(std::string_view earlier, std::string_view later);

// The pattern without blanks around it, a ":port" at its end and a final
// '.', folded to lower case where ASCII: what two patterns compare by.
std::string hostPatternKey(std::string_view pattern);
