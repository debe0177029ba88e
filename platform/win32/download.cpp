// HTTP downloads with WinINet. The URL is opened as a connection and a
// request rather than in one call, because only time-outs set on those
// handles bound a server that stops answering; each wait for data gives up
// after the caller's time limit, and so does the whole transfer.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

// A read returns when its block is full or the answer has ended, so the
// block follows the pace of the server: it grows while blocks arrive
// quickly (large blocks keep a fast transfer cheap) and shrinks while they
// arrive slowly, so that the time limit is still tested every so often.
constexpr DWORD firstBlock = 64 * 1024;
constexpr DWORD largestBlock = 1024 * 1024;
constexpr DWORD smallestBlock = 4 * 1024;
constexpr DWORD quickBlockMs = 100;
constexpr DWORD slowBlockMs = 400;

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

DownloadOutcome failedRead() {
    return GetLastError() == ERROR_INTERNET_TIMEOUT ? DownloadOutcome::stalled
                                                   : DownloadOutcome::readFailed;
}

// A request that got no answer: a server that was reached and then fell
// silent or hung up is a broken read (Wine reports a silent one as an
// aborted connection); anything else means it could not be opened.
DownloadOutcome failedSend() {
    switch (GetLastError()) {
    case ERROR_INTERNET_TIMEOUT:
        return DownloadOutcome::stalled;
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
        return DownloadOutcome::readFailed;
    default:
        return DownloadOutcome::openFailed;
    }
}

// Reads the answer into the file, testing the time limit after each block.
DownloadOutcome transfer(HINTERNET request, HANDLE file, int timeLimitSeconds) {
    std::vector<char> buffer(largestBlock);
    DWORD block = firstBlock;
    const DWORD start = GetTickCount();
    const DWORD limit = static_cast<DWORD>(timeLimitSeconds);
    for (;;) {
        const DWORD asked = GetTickCount();
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), block, &got)) return failedRead();
        if (got == 0) return DownloadOutcome::ok;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), got, &written, nullptr) || written != got)
            return DownloadOutcome::readFailed;
        const DWORD now = GetTickCount();
        // More whole seconds than the limit: the page is given up.
        if ((now - start) / 1000 > limit) return DownloadOutcome::timedOut;
        if (now - asked < quickBlockMs) block = std::min(block * 2, largestBlock);
        else if (now - asked > slowBlockMs) block = std::max(block / 2, smallestBlock);
    }
}

}  // namespace

DownloadOutcome Win32Platform::downloadUrl(const std::string& url, const std::string& localPath,
                                           int timeLimitSeconds) {
    win::ScopedInternet session(
        InternetOpenA("download", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.valid()) return DownloadOutcome::initFailed;

    RequestTarget target;
    if (!splitForRequest(url, target)) return DownloadOutcome::openFailed;
    win::ScopedInternet connection(InternetConnectA(
        session.get(), target.host.c_str(), target.port, orNull(target.userName),
        orNull(target.password), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.valid()) return DownloadOutcome::openFailed;
    setTimeouts(connection.get(), timeLimitSeconds);

    // Always from the server, never into the cache: a second download of
    // a page must see its new state, and the copy is ours to keep.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    if (target.secure) flags |= INTERNET_FLAG_SECURE;
    const char* acceptTypes[] = {"*/*", nullptr};
    win::ScopedInternet request(HttpOpenRequestA(connection.get(), "GET", target.object.c_str(),
                                                 nullptr, nullptr, acceptTypes, flags, 0));
    if (!request.valid()) return DownloadOutcome::openFailed;
    setTimeouts(request.get(), timeLimitSeconds);
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return failedSend();
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return DownloadOutcome::openFailed;
    if (status >= 400) return DownloadOutcome::httpError;

    win::ScopedHandle file(CreateFileA(localPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return DownloadOutcome::fileNotCreated;
    // A device name opens the device: the page must go into a file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return DownloadOutcome::fileNotCreated;
    return transfer(request.get(), file.get(), timeLimitSeconds);
}

}  // namespace platform
