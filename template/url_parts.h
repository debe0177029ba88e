// The one shared split of a URL into its parts. The record always holds the
// parts of the URL split last.
#pragma once
#include <string>
#include <string_view>

struct UrlParts {
    std::string scheme;     // 32: "http", without ':' or slashes
    std::string hostName;   // 260: without user information or port
    unsigned portNumber = 0;
    std::string userName;   // 260
    std::string password;   // 260
    std::string urlPath;    // 260: up to the first '?' or '#'
    std::string extraInfo;  // 260: from that '?' or '#' on
};

extern UrlParts urlParts;

// Splits `text` into urlParts; 1 on success, 0 when the platform rejects it.
int crackUrl(std::string_view text);

// The portable splitter, following the rules of InternetCrackUrlA with
// fixed buffers; used where WinINet is not available.
bool crackUrlPortable(std::string_view text, UrlParts& parts);
