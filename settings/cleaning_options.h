// The link-cleaning options of the "[system]" block: "@unwrap" opens the
// target of a known redirect link instead of the redirector, "@strip="
// drops the query parameters it names. Without their lines nothing is
// cleaned.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A redirector: a link to one of `hosts` (a list of host patterns
// separated by ';') whose path is `path` (ignoring ASCII case; a final
// '*' makes it a prefix) carries its target in the query parameter
// `parameter`.
struct RedirectorEntry {
    std::string name;  // of a built-in entry ("Google"); empty for the user's
    std::string hosts;
    std::string path;
    std::string parameter;
};

// A parameter name to drop; with `prefix` every name that begins with it.
struct StripName {
    std::string name;  // without its '*'
    bool prefix = false;
};

struct LinkCleaning {
    bool unwrap = false;                       // "@unwrap": the built-in redirectors too
    std::vector<RedirectorEntry> redirectors;  // the user's own, in file order
    bool stripDefault = false;                 // "@strip=" named "default"
    std::vector<StripName> stripNames;         // the user's own, in file order
    bool strips() const { return stripDefault || !stripNames.empty(); }
    bool any() const { return unwrap || strips(); }
};

// How many entries of their own the options keep (in all their lines).
constexpr std::size_t maxUserRedirectors = 64;
constexpr std::size_t maxUserStripNames = 64;

// The items of an "@unwrap=" or "@strip=" value: split at ';' ("@strip="
// also at ','), blanks around them removed, empty ones left out.
std::vector<std::string_view> cleaningItems(std::string_view value, bool commasToo);

enum class RedirectorForm {
    ok,
    noQuestionMark,  // no "?parameter"
    noParameter,     // nothing (or no name) after '?'
    noPath,          // no '/' between host and '?'
    badHost,         // not a host or "*." and a domain
    badPath,         // a '*' before the path's end
    badParameter,    // '&', '=', '#' or a blank in the name
};
// Reads one "@unwrap=" entry, "host/path?parameter". An "http://" or
// "https://" in front and a '=' after the parameter are allowed, so that
// the start of a redirect link can be copied as it stands.
RedirectorForm parseRedirectorEntry(std::string_view item, RedirectorEntry& entry);

enum class StripNameForm {
    ok,
    defaultList,     // the word "default"
    wildcardInside,  // a '*' that is not the name's last character
    badCharacter,    // '=', '&', '?', '#' or a blank
};
StripNameForm parseStripName(std::string_view item, StripName& name);

// The option lines: "@unwrap" with the text after it (empty, or '='
// and entries) and "@strip=" with its value. Lines add up.
void addUnwrapOption(std::string_view afterKey, LinkCleaning& cleaning);
void addStripOption(std::string_view value, LinkCleaning& cleaning);
