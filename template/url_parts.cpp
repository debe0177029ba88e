// The process-wide record of the URL split last, and the one operation
// that fills it through the platform's splitter.
#include "template/url_parts.h"

#include <string>

#include "platform/platform.h"

UrlParts urlParts;

int crackUrl(std::string_view text) {
    // The platform reads a zero-terminated text: nothing behind a NUL counts.
    std::string_view::size_type end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    return platform::os().splitUrl(std::string(text), urlParts) ? 1 : 0;
}
