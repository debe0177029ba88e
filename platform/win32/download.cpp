// HTTP downloads with WinINet. The URL is opened as a connection and a
// request rather than in one call, because only time-outs set on those
// handles bound a server that stops answering: connecting and each wait
// for data give up after the caller's limit, while a transfer that keeps
// receiving goes on however long it takes.
//
// The transfer runs on a thread of its own, so that the calling thread can
// keep the progress window alive and hear its Cancel. A read that waits on
// a silent server cannot be interrupted (closing its handle does not end
// it under Wine), so a cancelled transfer is let go rather than waited
// for: it stops at its next block or its time-out, and its file, opened
// for deletion while still in use, is gone once the thread lets go of it.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/win32/answering_wait.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

// A read returns when its block is full or the answer has ended, so the
// block follows the pace of the server: it grows while blocks arrive
// quickly (large blocks keep a fast transfer cheap) and shrinks while they
// arrive slowly, so that progress and a cancel are still seen every so
// often.
constexpr DWORD firstBlock = 64 * 1024;
constexpr DWORD largestBlock = 1024 * 1024;
constexpr DWORD smallestBlock = 4 * 1024;
constexpr DWORD quickBlockMs = 100;
constexpr DWORD slowBlockMs = 400;
// How often the watch hears of the transfer.
constexpr DWORD watchIntervalMs = 100;
// How long a cancelled transfer is waited for before it is let go.
constexpr DWORD cancelGraceMs = 1000;
// Winsock's time-out, which Wine reports for a silent server.
constexpr DWORD socketTimedOut = 10060;

struct RequestTarget {
    std::string host, userName, password;
    std::string object;  // path and query, as sent in the request line
    INTERNET_PORT port = 0;
    bool secure = false;
};

// What the calling thread and the transfer thread share. Each holds it
// through a shared pointer: a transfer that is let go keeps it alive.
struct Transfer {
    std::string url, localPath;
    int stallSeconds = 30;
    std::atomic<bool> cancelled{false};
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> totalKnown{false};
    DownloadOutcome outcome = DownloadOutcome::readFailed;  // read once the thread has ended
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

bool timedOut(DWORD error) { return error == ERROR_INTERNET_TIMEOUT || error == socketTimedOut; }

DownloadOutcome failedRead() {
    return timedOut(GetLastError()) ? DownloadOutcome::stalled : DownloadOutcome::readFailed;
}

// A request that got no answer: a server that was reached and then fell
// silent for the time limit has stalled (Wine reports it as an aborted
// connection, once the limit has passed); one that hung up earlier is a
// broken read; anything else means it could not be opened.
DownloadOutcome failedSend(DWORD waitedMs, int stallSeconds) {
    const DWORD error = GetLastError();
    if (timedOut(error)) return DownloadOutcome::stalled;
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

// The size the server announced, if it did.
void noteLength(HINTERNET request, Transfer& t) {
    char text[32] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return;
    std::uint64_t length = 0;
    const char* p = text;
    if (*p < '0' || *p > '9') return;
    for (; *p >= '0' && *p <= '9'; ++p) length = length * 10 + static_cast<std::uint64_t>(*p - '0');
    t.total = length;
    t.totalKnown = true;
}

// Reads the answer into the file until it ends, fails or is cancelled.
DownloadOutcome transfer(HINTERNET request, HANDLE file, Transfer& t) {
    std::vector<char> buffer(largestBlock);
    DWORD block = firstBlock;
    for (;;) {
        const DWORD asked = GetTickCount();
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), block, &got)) return failedRead();
        if (t.cancelled) return DownloadOutcome::cancelled;
        if (got == 0) return DownloadOutcome::ok;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), got, &written, nullptr) || written != got)
            return DownloadOutcome::readFailed;
        t.received += got;
        const DWORD took = GetTickCount() - asked;
        if (took < quickBlockMs) block = std::min(block * 2, largestBlock);
        else if (took > slowBlockMs) block = std::max(block / 2, smallestBlock);
    }
}

// The whole download, on whichever thread runs it.
DownloadOutcome download(Transfer& t) {
    win::ScopedInternet session(
        InternetOpenA("download", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.valid()) return DownloadOutcome::initFailed;

    RequestTarget target;
    if (!splitForRequest(t.url, target)) return DownloadOutcome::openFailed;
    win::ScopedInternet connection(InternetConnectA(
        session.get(), target.host.c_str(), target.port, orNull(target.userName),
        orNull(target.password), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.valid()) return DownloadOutcome::openFailed;
    setTimeouts(connection.get(), t.stallSeconds);

    // Always from the server, never into the cache: a second download of
    // a page must see its new state, and the copy is ours to keep.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    if (target.secure) flags |= INTERNET_FLAG_SECURE;
    const char* acceptTypes[] = {"*/*", nullptr};
    win::ScopedInternet request(HttpOpenRequestA(connection.get(), "GET", target.object.c_str(),
                                                 nullptr, nullptr, acceptTypes, flags, 0));
    if (!request.valid()) return DownloadOutcome::openFailed;
    setTimeouts(request.get(), t.stallSeconds);
    const DWORD sent = GetTickCount();
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0))
        return failedSend(GetTickCount() - sent, t.stallSeconds);
    if (t.cancelled) return DownloadOutcome::cancelled;
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return DownloadOutcome::openFailed;
    if (status >= 400) return DownloadOutcome::httpError;
    noteLength(request.get(), t);

    // A new file only; open for deletion too, so that a cancelled download
    // can be removed while this thread still holds it.
    win::ScopedHandle file(CreateFileA(t.localPath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return DownloadOutcome::fileNotCreated;
    // A device name opens the device: the page must go into a file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return DownloadOutcome::fileNotCreated;
    const DownloadOutcome outcome = transfer(request.get(), file.get(), t);
    file.reset();
    if (outcome != DownloadOutcome::ok) DeleteFileA(t.localPath.c_str());
    return outcome;
}

DWORD WINAPI transferThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<Transfer>> held(static_cast<std::shared_ptr<Transfer>*>(parameter));
    Transfer& t = **held;
    t.outcome = download(t);
    return 0;
}

DownloadProgress progressOf(const Transfer& t, DWORD started) {
    DownloadProgress p;
    p.received = t.received;
    p.total = t.total;
    p.totalKnown = t.totalKnown;
    p.elapsedMs = GetTickCount() - started;
    return p;
}

}  // namespace

DownloadOutcome Win32Platform::downloadUrl(const std::string& url, const std::string& localPath,
                                           int stallSeconds, DownloadWatch& watch) {
    auto t = std::make_shared<Transfer>();
    t->url = url;
    t->localPath = localPath;
    t->stallSeconds = stallSeconds;
    const DWORD started = GetTickCount();

    auto* held = new std::shared_ptr<Transfer>(t);
    win::ScopedHandle thread(CreateThread(nullptr, 0, transferThread, held, 0, nullptr));
    if (!thread.valid()) {
        // No thread to spare: the download runs here, without a watch.
        delete held;
        return download(*t);
    }
    for (;;) {
        // Other programs are answered while the transfer runs, its first
        // second before any window shows included.
        if (win::waitAnswering(thread.get(), watchIntervalMs)) return t->outcome;
        if (watch.keepGoing(progressOf(*t, started))) continue;
        t->cancelled = true;
        win::waitAnswering(thread.get(), cancelGraceMs);
        // Whether the transfer has stopped, is still waiting on the server
        // (the file then goes once it lets go) or had just finished.
        DeleteFileA(localPath.c_str());
        return DownloadOutcome::cancelled;
    }
}

}  // namespace platform
