// The title item's text.
#include "menu/menu_title.h"

#include <string>

#include "common/text.h"
#include "common/url_list.h"
#include "settings/settings.h"
#include "template/url_template.h"

namespace {

// The last `count` bytes of `s`, moved forward off the trail byte of a
// double-byte character.
std::string_view lastCharacters(std::string_view s, std::size_t count) {
    if (s.size() <= count) return s;
    std::size_t from = s.size() - count;
    const std::size_t boundary = text::boundaryAtOrBefore(s, from);
    if (boundary != from) from = boundary + 2;
    return s.substr(from < s.size() ? from : s.size());
}

// "&" marks the key letter of a menu item; a title's own "&" is doubled so
// that it shows and the item keeps "&0" as its key.
std::string escapeAmpersands(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (text::isLeadByte(c) && i + 1 < s.size()) {
            out += s.substr(i, 2);
            ++i;
            continue;
        }
        out += s[i];
        if (s[i] == '&') out += '&';
    }
    return out;
}

// At most `capacity` - 1 bytes of an escaped title, never ending in half a
// character nor in half of a doubled "&".
std::string cutEscaped(std::string_view s, std::size_t capacity) {
    std::string out = text::cut(s, capacity);
    std::size_t ampersands = 0;
    while (ampersands < out.size() && out[out.size() - 1 - ampersands] == '&') ++ampersands;
    if (ampersands % 2 == 1) out.pop_back();
    return out;
}

}  // namespace

std::string titleItemTextFor(std::string_view title, std::string_view fallback,
                             int titleLength, int urlCount) {
    std::string_view shown = title.size() < 3 ? fallback : title;
    if (titleLength > 0) shown = lastCharacters(shown, static_cast<std::size_t>(titleLength));
    std::string escaped = escapeAmpersands(shown);

    const std::string tail =
        urlCount > 1 ? " [ +" + std::to_string(urlCount - 1) + " ] ( &0 )" : std::string(" ( &0 )");

    const std::size_t room = titleItemCapacity - 1 - tail.size();
    if (escaped.size() > room) {
        static constexpr std::string_view ellipsis = "...";
        escaped = cutEscaped(escaped, room - ellipsis.size() + 1);
        escaped += ellipsis;
    }
    return escaped + tail;
}

std::string associationMenuTitle() {
    const std::string title = expandUrlTemplate(settings.menuTitle, "", 1);
    const std::string fallback = title.size() < 3 ? expandUrlTemplate("%-L", "", 1) : "";
    return titleItemTextFor(title, fallback, settings.titleLength, urlList.urlCount);
}
