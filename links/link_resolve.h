// What an href or src value means: the cleaning every value gets before it
// is tested, and the resolution of a relative link against the page's base
// URL.
#pragma once
#include <string>
#include <string_view>

// The value as it is tested: leading and trailing blanks, tabs, CR and LF
// removed, and character references decoded as a browser decodes them in
// an attribute: every numeric one ("&#37;", "&#x25", the ';' optional) and
// the named ones that occur in URLs ("&amp;", "&lt;", "&gt;", "&quot;",
// "&apos;", any case, ';' required), one level only. A decoded character
// that is not ASCII is written percent-encoded as UTF-8, and so are a
// decoded control, blank, '"', '<' or '>'; a decoded tab, CR or LF is
// dropped. The result is at most three times as long as the value.
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
