// What an href or src value means: the cleaning every value gets before it
// is tested, and the resolution of a relative link against the page's base
// URL.
#pragma once
#include <string>
#include <string_view>

// The value as it is tested: leading and trailing blanks, tabs, CR and LF
// removed, and "&amp;", "&#38;" and "&#x26;" (any case, leading zeros)
// turned into "&".
std::string cleanLinkValue(std::string_view value);

// True when `value` begins with a scheme ("x+.-:" letters of at least two
// characters followed by ':'), so that it can never be a relative link.
bool hasScheme(std::string_view value);

// Makes `link` absolute against `baseUrl`: "/x" joins the base's scheme and
// whole authority (user part, host and port); "//host/x" takes the base's
// scheme; "#x" and "?x" keep the base without its fragment (and query);
// "x", "./x" and leading "../" groups join the base's folder (a base
// without a path counts as "/"). A value with a scheme of its own, a
// "../" or "./" inside the link, or climbing above the host fails.
// 1 with the result written back into `link` (at most 519 characters), or
// 0. Backslashes in baseUrl become slashes.
int resolveRelativeLink(std::string& link, std::string& baseUrl);
