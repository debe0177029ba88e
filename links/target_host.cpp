// Decoding an escaped host and reading it as a given one.
#include "links/target_host.h"

#include "common/text.h"
#include "common/unicode.h"
#include "links/host_text.h"
#include "platform/platform.h"

namespace {

// The host's characters: its code page characters, and its escapes read
// as UTF-8. False when an escape stands for an ASCII byte (what link
// cleaning left escaped: a blank, a control, a quote) or the escaped
// bytes are no UTF-8.
bool hostCharacters(std::string_view host, std::u32string& out) {
    platform::Platform& os = platform::os();
    std::string utf8;  // escaped bytes not yet read
    auto flush = [&] {
        if (utf8.empty()) return true;
        const std::u16string wide = unicode::fromUtf8(utf8);
        utf8.clear();
        for (std::size_t i = 0; i < wide.size();) {
            const char32_t c = unicode::next(wide, i);
            if (c == unicode::replacement) return false;
            out += c;
        }
        return true;
    };
    for (std::size_t i = 0; i < host.size();) {
        const int b = unicode::percentEscapedByte(host, i);
        if (b >= 0) {
            if (b < 0x80) return false;
            utf8 += static_cast<char>(b);
            i += 3;
            continue;
        }
        if (!flush()) return false;
        const std::size_t length = text::charLength(host, i);
        char32_t c = static_cast<unsigned char>(host[i]);
        if (c >= 0x80 && !os.charOfCp932(host.substr(i, length), c)) return false;
        out += c;
        i += length;
    }
    return flush();
}

}  // namespace

std::size_t authorityEnd(std::string_view url, std::size_t from) {
    for (std::size_t i = from; i < url.size(); i += text::charLength(url, i)) {
        const char c = url[i];
        if (c == '/' || c == '?' || c == '#' || c == '\\') return i;
    }
    return url.size();
}

std::string withBrowserHost(std::string_view url) {
    std::string out(url);
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return out;
    const std::size_t begin = scheme + 3, end = authorityEnd(url, begin);
    if (end < out.size() && out[end] == '\\') out[end] = '/';
    // The host alone: after the last '@', before a port.
    std::size_t hostBegin = begin, hostEnd = end;
    for (std::size_t i = begin; i < end; i += text::charLength(url, i)) {
        if (url[i] == '@') {
            hostBegin = i + 1;
            hostEnd = end;
        } else if (url[i] == ':') {
            hostEnd = i;
        }
    }
    const std::string_view host = url.substr(hostBegin, hostEnd - hostBegin);
    if (host.find('%') == std::string_view::npos || host.front() == '[') return out;
    std::u32string chars;
    if (!hostCharacters(host, chars)) return out;
    out.replace(hostBegin, hostEnd - hostBegin, hostText(chars));
    return out;
}
