// The shell hands a URL to the program registered for its scheme. Once this
// very program has been made the system's web browser, letting the system
// open a web URL would only start it again with the same URL, for ever;
// such an opening is refused with a caution box instead.
#pragma once
#include <string>
#include <string_view>

// The scheme of a URL in lower case ("http" for "HTTP://host/"); empty for a
// text that is no URL. A drive letter ("C:\x") is no scheme.
std::string urlScheme(std::string_view target);

// True when the system would open `target` with this program itself.
bool systemOpensWithItself(std::string_view target);

// Tells the user that no browser is set up for `target` (a caution box
// owned by the main window).
void reportNoBrowserFor(std::string_view target);
