// A URL splitter that follows the rules of InternetCrackUrlA called with
// fixed buffers and no flags, for builds without WinINet: nothing is
// decoded, a part that would not fit its buffer fails the whole split, and
// a failed split leaves the record as it was.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "common/capacity.h"
#include "common/text.h"
#include "template/url_parts.h"

namespace {

bool isSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '+' || c == '-' || c == '.';
}

// Position of the first of the given bytes at a character boundary, or the
// end of the text. The bytes searched for are ASCII; some ('@', '\') can be
// trail bytes of double-byte characters and must not be taken there.
std::size_t findFirstOf(std::string_view s, std::string_view bytes, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size();) {
        if (bytes.find(s[i]) != std::string_view::npos) return i;
        i += text::isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    }
    return s.size();
}

unsigned defaultPort(std::string_view scheme) {
    if (text::equalsNoCase(scheme, "http")) return 80;
    if (text::equalsNoCase(scheme, "https")) return 443;
    if (text::equalsNoCase(scheme, "ftp")) return 21;
    return 0;
}

// Leading decimal digits, kept to 16 bits like the platform's port field.
unsigned parsePort(std::string_view s) {
    unsigned value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xFFFFu;
    }
    return value;
}

bool isDriveAt(std::string_view s, std::size_t i) {
    if (i + 1 >= s.size()) return false;
    char d = s[i];
    bool letter = (d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z');
    if (!letter || (s[i + 1] != ':' && s[i + 1] != '|')) return false;
    return i + 2 == s.size() || s[i + 2] == '/' || s[i + 2] == '\\';
}

// A file URL's path as a local path: "C|" becomes "C:", the slash in front
// of a drive goes, and every slash becomes a backslash.
std::string localPath(std::string_view path) {
    std::string out(path);
    if (!out.empty() && out[0] == '/' && isDriveAt(out, 1)) out.erase(0, 1);
    if (isDriveAt(out, 0)) out[1] = ':';
    for (std::size_t i = 0; i < out.size();) {
        if (text::isLeadByte(static_cast<unsigned char>(out[i]))) { i += 2; continue; }
        if (out[i] == '/') out[i] = '\\';
        ++i;
    }
    return out;
}

// file://authority/path: a drive in the authority belongs to the path,
// "localhost" names this machine, any other host makes a UNC path.
void splitFileUrl(std::string_view rest, UrlParts& p) {
    if (rest.substr(0, 2) != "//") {
        p.urlPath = localPath(rest);
        return;
    }
    std::string_view afterSlashes = rest.substr(2);
    std::size_t hostEnd = findFirstOf(afterSlashes, "/\\");
    std::string_view host = afterSlashes.substr(0, hostEnd);
    std::string_view tail = afterSlashes.substr(hostEnd);
    if (host.empty() || isDriveAt(host, 0)) {
        p.urlPath = localPath(afterSlashes);
    } else if (text::equalsNoCase(host, "localhost")) {
        p.hostName = std::string(host);
        p.urlPath = localPath(tail);
    } else {
        p.hostName = std::string(host);
        p.urlPath = localPath("//" + std::string(afterSlashes));
    }
}

// user:password@host:port, or [v6-address]:port for the host.
void splitAuthority(std::string_view authority, UrlParts& p) {
    std::size_t at = findFirstOf(authority, "@");
    if (at < authority.size()) {
        std::string_view userInfo = authority.substr(0, at);
        std::size_t colon = findFirstOf(userInfo, ":");
        p.userName = std::string(userInfo.substr(0, colon));
        if (colon < userInfo.size()) p.password = std::string(userInfo.substr(colon + 1));
        authority = authority.substr(at + 1);
    }
    std::size_t portColon = authority.size();
    if (!authority.empty() && authority[0] == '[') {
        std::size_t close = findFirstOf(authority, "]");
        std::size_t hostEnd = close < authority.size() ? close + 1 : authority.size();
        if (hostEnd < authority.size() && authority[hostEnd] == ':') portColon = hostEnd;
        p.hostName = std::string(authority.substr(0, hostEnd));
    } else {
        portColon = findFirstOf(authority, ":");
        p.hostName = std::string(authority.substr(0, portColon));
    }
    p.portNumber = portColon < authority.size() ? parsePort(authority.substr(portColon + 1))
                                                : defaultPort(p.scheme);
}

bool fits(const UrlParts& p) {
    return p.scheme.size() < cap::scheme && p.hostName.size() < cap::path &&
           p.userName.size() < cap::path && p.password.size() < cap::path &&
           p.urlPath.size() < cap::path && p.extraInfo.size() < cap::path;
}

}  // namespace

bool crackUrlPortable(std::string_view url, UrlParts& parts) {
    std::size_t colon = 0;
    while (colon < url.size() && isSchemeChar(url[colon])) ++colon;
    if (colon == 0 || colon >= url.size() || url[colon] != ':') return false;

    UrlParts p;
    p.scheme = std::string(url.substr(0, colon));
    std::string_view rest = url.substr(colon + 1);

    // The query or fragment, whichever comes first, is the extra information.
    std::size_t extra = findFirstOf(rest, "?#");
    p.extraInfo = std::string(rest.substr(extra));
    rest = rest.substr(0, extra);

    if (text::equalsNoCase(p.scheme, "file")) {
        splitFileUrl(rest, p);
    } else if (rest.substr(0, 2) == "//") {
        std::string_view afterSlashes = rest.substr(2);
        std::size_t pathStart = findFirstOf(afterSlashes, "/");
        splitAuthority(afterSlashes.substr(0, pathStart), p);
        p.urlPath = std::string(afterSlashes.substr(pathStart));
    } else {
        p.urlPath = std::string(rest);
    }

    if (!fits(p)) return false;
    parts = std::move(p);
    return true;
}
