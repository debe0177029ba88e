// Redirect rule and the zone mark's text.
#include "common/download_safety.h"

#include "common/text.h"

namespace {

// The scheme before "://", or nothing.
std::string_view schemeOf(std::string_view url) {
    const std::size_t colon = url.find("://");
    return colon == std::string_view::npos ? std::string_view() : url.substr(0, colon);
}

// A value on a line of its own: control characters would end the line
// or start another key.
std::string oneLine(std::string_view value) {
    std::string out;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

}  // namespace

bool isDowngrade(std::string_view from, std::string_view to) {
    return text::equalsNoCase(schemeOf(from), "https") && text::equalsNoCase(schemeOf(to), "http");
}

std::string withoutUserInfo(std::string_view url) {
    const std::size_t colon = url.find("://");
    if (colon == std::string_view::npos) return std::string(url);
    const std::size_t start = colon + 3;
    // The authority ends at the first '/', '?' or '#'; its last '@' ends
    // the user information.
    std::size_t end = url.find_first_of("/?#", start);
    if (end == std::string_view::npos) end = url.size();
    const std::size_t at = url.substr(start, end - start).rfind('@');
    if (at == std::string_view::npos) return std::string(url);
    return std::string(url.substr(0, start)) + std::string(url.substr(start + at + 1));
}

std::string zoneIdentifierText(std::string_view hostUrl, std::string_view referrerUrl) {
    std::string out = "[ZoneTransfer]\r\nZoneId=" + std::to_string(internetZone) + "\r\n";
    if (!referrerUrl.empty()) out += "ReferrerUrl=" + oneLine(withoutUserInfo(referrerUrl)) + "\r\n";
    out += "HostUrl=" + oneLine(withoutUserInfo(hostUrl)) + "\r\n";
    return out;
}
