// UTF-8 into code page 932 character by character, through the platform's
// exact conversion (no look-alike stands in).
#include "check/cp932_text.h"

#include "check/messages.h"
#include "common/unicode.h"
#include "platform/platform.h"

std::string cp932Text(std::string_view utf8, bool* lost) {
    const std::u16string wide = unicode::fromUtf8(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < wide.size();) {
        const char32_t c = unicode::next(wide, i);
        const bool control = c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
        if (!control && c != unicode::replacement && platform::os().cp932Char(c, out)) continue;
        out += '?';
        if (lost) *lost = true;
    }
    return out;
}

std::string shownText(std::string_view utf8) { return printable(cp932Text(utf8)); }
