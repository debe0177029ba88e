// The URL split of WinINet with fixed buffers: no decoding, no escaping,
// and a part longer than its buffer makes the whole split fail.
#include <cstring>

#include "common/capacity.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"
#include "template/url_parts.h"

namespace platform {

bool Win32Platform::splitUrl(const std::string& url, UrlParts& parts) {
    char scheme[cap::scheme] = {};
    char host[cap::path] = {};
    char user[cap::path] = {};
    char password[cap::path] = {};
    char path[cap::path] = {};
    char extra[cap::path] = {};

    URL_COMPONENTSA c{};
    c.dwStructSize = sizeof c;
    c.lpszScheme = scheme;
    c.dwSchemeLength = sizeof scheme;
    c.lpszHostName = host;
    c.dwHostNameLength = sizeof host;
    c.lpszUserName = user;
    c.dwUserNameLength = sizeof user;
    c.lpszPassword = password;
    c.dwPasswordLength = sizeof password;
    c.lpszUrlPath = path;
    c.dwUrlPathLength = sizeof path;
    c.lpszExtraInfo = extra;
    c.dwExtraInfoLength = sizeof extra;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &c)) return false;

    // Absent parts leave their buffer untouched (still zero), so read every
    // part up to its terminator rather than trusting the length fields.
    auto take = [](const char* buffer, std::size_t size) {
        return std::string(buffer, strnlen(buffer, size));
    };
    parts.scheme = take(scheme, sizeof scheme);
    parts.hostName = take(host, sizeof host);
    parts.portNumber = c.nPort;
    parts.userName = take(user, sizeof user);
    parts.password = take(password, sizeof password);
    parts.urlPath = take(path, sizeof path);
    parts.extraInfo = take(extra, sizeof extra);
    return true;
}

}  // namespace platform
