// Matching hosts against the patterns of "[host:...]" headers. Scans step
// by whole characters: '@', '[', '\' and ']' also occur as second bytes of
// Shift_JIS characters and must not be taken for themselves there.
#include "settings/host_pattern.h"

#include "common/text.h"
#include "settings/pattern_headers.h"

namespace {

constexpr std::string_view noHostCharacters = "*/\\@:?#[]\"<>| ";

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Drops ":digits" (or a bare ':') at the end; ':' is never a second byte.
std::string_view withoutPort(std::string_view s) {
    const std::size_t colon = s.rfind(':');
    if (colon == std::string_view::npos) return s;
    for (char c : s.substr(colon + 1))
        if (c < '0' || c > '9') return s;
    return s.substr(0, colon);
}

// A host may be written with the root's dot at its end ("example.com.").
std::string_view withoutFinalDot(std::string_view s) {
    if (!s.empty() && s.back() == '.') s.remove_suffix(1);
    return s;
}

std::string_view normalized(std::string_view pattern) {
    return withoutFinalDot(withoutPort(trimBlanks(pattern)));
}

// A domain as a pattern names it: labels of any bytes but those no host
// holds, none of them empty.
bool isDomain(std::string_view s) {
    if (s.empty() || s.front() == '.') return false;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = text::charLength(s, i);
        if (length == 1) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 0x20 || c == 0x7F || noHostCharacters.find(s[i]) != std::string_view::npos)
                return false;
            if (s[i] == '.' && i + 1 < s.size() && s[i + 1] == '.') return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

HostPatternForm hostPatternForm(std::string_view pattern) {
    const std::string_view p = normalized(pattern);
    if (p.empty()) return HostPatternForm::empty;
    if (p.substr(0, 2) == "*.")
        return isDomain(p.substr(2)) ? HostPatternForm::wildcard : HostPatternForm::malformed;
    return isDomain(p) ? HostPatternForm::exact : HostPatternForm::malformed;
}

bool hostMatchesPattern(std::string_view host, std::string_view pattern) {
    const HostPatternForm form = hostPatternForm(pattern);
    if (form != HostPatternForm::exact && form != HostPatternForm::wildcard) return false;
    const std::string_view h = withoutFinalDot(host);
    if (h.empty()) return false;
    std::string_view domain = normalized(pattern);
    if (form == HostPatternForm::exact) return text::equalsNoCase(h, domain);
    domain.remove_prefix(2);
    if (text::equalsNoCase(h, domain)) return true;
    // A subdomain: the host ends in '.' and the domain, the dot standing
    // on a character boundary of the host.
    for (std::size_t i = 0; i < h.size(); i += text::charLength(h, i)) {
        if (h[i] == '.' && text::equalsNoCase(h.substr(i + 1), domain)) return true;
    }
    return false;
}

bool hostPatternCovers(std::string_view earlier, std::string_view later) {
    const HostPatternForm laterForm = hostPatternForm(later);
    if (laterForm != HostPatternForm::exact && laterForm != HostPatternForm::wildcard) return false;
    std::string_view domain = normalized(later);
    if (laterForm == HostPatternForm::wildcard) {
        // The hosts below the domain too: only a wildcard names them all.
        if (hostPatternForm(earlier) != HostPatternForm::wildcard) return false;
        domain.remove_prefix(2);
    }
    return hostMatchesPattern(domain, earlier);
}

std::vector<std::string_view> splitHostPatterns(std::string_view list) {
    return splitPatternList(list);
}

bool hostMatchesPatternList(std::string_view host, std::string_view list) {
    for (std::string_view pattern : splitHostPatterns(list))
        if (hostMatchesPattern(host, pattern)) return true;
    return false;
}

std::string hostPatternKey(std::string_view pattern) {
    std::string key(normalized(pattern));
    for (std::size_t i = 0; i < key.size(); i += text::charLength(key, i)) {
        if (key[i] >= 'A' && key[i] <= 'Z') key[i] = static_cast<char>(key[i] + ('a' - 'A'));
    }
    return key;
}
