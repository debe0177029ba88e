// Opening a download's URL. It is opened as a connection and a request
// rather than in one call, because only time-outs set on those handles
// bound a server that stops answering. WinINet is not left to follow
// redirects itself: each one is looked at, and one from https to http,
// which would bring the file in the clear, is refused rather than
// followed without a word.
#include "platform/win32/http_answer.h"

#include <initializer_list>
#include <vector>

#include "common/download_safety.h"

namespace win {
namespace {

using platform::DownloadOutcome;

// As many as a browser follows.
constexpr int mostRedirects = 20;
// Winsock's time-out, which Wine reports for a silent server.
constexpr DWORD socketTimedOut = 10060;

struct RequestTarget {
    std::string host, userName, password;
    std::string object;  // path and query, as sent in the request line
    INTERNET_PORT port = 0;
    bool secure = false;
};

std::string piece(const char* start, DWORD length) {
    return start ? std::string(start, length) : std::string();
}

// Splits without fixed buffers, so that a long path or query is still sent.
// The fragment stays with the client; spaces are escaped as a browser
// would, since a raw space would end the request line.
bool splitForRequest(const std::string& url, RequestTarget& out) {
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
    parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;
    out.host = piece(parts.lpszHostName, parts.dwHostNameLength);
    out.userName = piece(parts.lpszUserName, parts.dwUserNameLength);
    out.password = piece(parts.lpszPassword, parts.dwPasswordLength);
    std::string object = piece(parts.lpszUrlPath, parts.dwUrlPathLength) +
                         piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    object = object.substr(0, object.find('#'));
    if (object.empty() || object[0] != '/') object.insert(0, "/");
    for (char c : object) {
        if (c == ' ') out.object += "%20";
        else out.object += c;
    }
    out.port = parts.nPort;
    out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return !out.host.empty();
}

void setTimeouts(HINTERNET handle, int seconds) {
    DWORD ms = static_cast<DWORD>(seconds) * 1000;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT})
        InternetSetOptionA(handle, option, &ms, sizeof ms);
}

const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// A request that got no answer: a server that was reached and then fell
// silent for the time limit has stalled (Wine reports it as an aborted
// connection, once the limit has passed); one that hung up earlier is a
// broken read; anything else means it could not be opened.
DownloadOutcome failedSend(DWORD waitedMs, int stallSeconds) {
    const DWORD error = GetLastError();
    if (error == ERROR_INTERNET_TIMEOUT || error == socketTimedOut) return DownloadOutcome::stalled;
    switch (error) {
    case ERROR_INTERNET_CONNECTION_ABORTED:
        if (waitedMs + 100 >= static_cast<DWORD>(stallSeconds) * 1000)
            return DownloadOutcome::stalled;
        return DownloadOutcome::readFailed;
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        return DownloadOutcome::readFailed;
    default:
        return DownloadOutcome::openFailed;
    }
}

bool isRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The answer's Location made whole against the address asked for; false
// when it has none.
bool redirectTarget(HINTERNET request, const std::string& from, std::string& to) {
    std::vector<char> location(1024);
    DWORD size = static_cast<DWORD>(location.size());
    if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        location.resize(size + 1);
        size = static_cast<DWORD>(location.size());
        if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr)) return false;
    }
    if (size == 0) return false;
    std::vector<char> whole(2048);
    DWORD length = static_cast<DWORD>(whole.size());
    if (!InternetCombineUrlA(from.c_str(), location.data(), whole.data(), &length, ICU_BROWSER_MODE)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        whole.resize(length + 1);
        length = static_cast<DWORD>(whole.size());
        if (!InternetCombineUrlA(from.c_str(), location.data(), whole.data(), &length, ICU_BROWSER_MODE))
            return false;
    }
    to.assign(whole.data(), length);
    return !to.empty();
}

}  // namespace

DownloadOutcome HttpAnswer::send(const std::string& url) {
    request_.reset();
    connection_.reset();
    RequestTarget target;
    if (!splitForRequest(url, target)) return DownloadOutcome::openFailed;
    connection_.reset(InternetConnectA(session_.get(), target.host.c_str(), target.port,
                                       orNull(target.userName), orNull(target.password),
                                       INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection_.valid()) return DownloadOutcome::openFailed;
    setTimeouts(connection_.get(), stallSeconds_);

    // Always from the server, never into the cache: a second download of
    // a page must see its new state, and the copy is ours to keep. No box
    // of WinINet's own, for a certificate or a proxy's password either.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (target.secure) flags |= INTERNET_FLAG_SECURE;
    const char* acceptTypes[] = {"*/*", nullptr};
    request_.reset(HttpOpenRequestA(connection_.get(), "GET", target.object.c_str(), nullptr,
                                    nullptr, acceptTypes, flags, 0));
    if (!request_.valid()) return DownloadOutcome::openFailed;
    setTimeouts(request_.get(), stallSeconds_);
    const DWORD sent = GetTickCount();
    if (!HttpSendRequestA(request_.get(), nullptr, 0, nullptr, 0))
        return failedSend(GetTickCount() - sent, stallSeconds_);
    return DownloadOutcome::ok;
}

DownloadOutcome HttpAnswer::open(const std::string& url, platform::DownloadResult& result) {
    session_.reset(InternetOpenA("download", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session_.valid()) return DownloadOutcome::initFailed;
    std::string asked = url;
    for (int redirects = 0;; ++redirects) {
        const DownloadOutcome sent = send(asked);
        if (sent != DownloadOutcome::ok) return sent;
        if (cancelled_) return DownloadOutcome::cancelled;
        DWORD status = 0, size = sizeof status;
        if (!HttpQueryInfoA(request_.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr))
            return DownloadOutcome::openFailed;
        std::string next;
        // A redirect without a place to go is an answer like any other.
        if (isRedirect(status) && redirectTarget(request_.get(), asked, next)) {
            if (isDowngrade(asked, next)) {
                result.redirectFrom = asked;
                result.redirectTo = next;
                return DownloadOutcome::insecureRedirect;
            }
            if (redirects == mostRedirects) return DownloadOutcome::openFailed;
            asked = next;
            continue;
        }
        if (status >= 400) return DownloadOutcome::httpError;
        result.finalUrl = asked;
        return DownloadOutcome::ok;
    }
}

}  // namespace win
