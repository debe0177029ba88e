// HTTP downloads with WinINet. The transfer runs on a thread of its own,
// so that the calling thread can keep the progress window alive and hear
// its Cancel. A read that waits on a silent server cannot be interrupted
// (closing its handle does not end it under Wine), so a cancelled
// transfer is let go rather than waited for: it stops at its next block
// or its time-out, and the part file it holds goes with its handle then.
//
// A download is whole only when its answer ended as announced: with a
// length, when that many bytes came; without, when the server ended it.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win32/answering_wait.h"
#include "platform/win32/http_answer.h"
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

// What the calling thread and the transfer thread share. Each holds it
// through a shared pointer: a transfer that is let go keeps it alive, and
// with it the part file.
struct Transfer {
    std::string url;
    std::shared_ptr<PartFile> file;
    int stallSeconds = 30;
    std::atomic<bool> cancelled{false};
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> totalKnown{false};
    DownloadResult result;  // read once the thread has ended
};

DownloadOutcome failedRead() {
    const DWORD error = GetLastError();
    return error == ERROR_INTERNET_TIMEOUT || error == socketTimedOut ? DownloadOutcome::stalled
                                                                      : DownloadOutcome::readFailed;
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
DownloadOutcome transfer(HINTERNET request, Transfer& t) {
    std::vector<char> buffer(largestBlock);
    DWORD block = firstBlock;
    for (;;) {
        const DWORD asked = GetTickCount();
        DWORD got = 0;
        if (!InternetReadFile(request, buffer.data(), block, &got)) return failedRead();
        if (t.cancelled) return DownloadOutcome::cancelled;
        if (got == 0) {
            // The connection ended: early, if less came than announced.
            return t.totalKnown && t.received != t.total ? DownloadOutcome::cutOff : DownloadOutcome::ok;
        }
        const DownloadOutcome written = t.file->write(buffer.data(), got);
        if (written != DownloadOutcome::ok) return written;
        t.received += got;
        const DWORD took = GetTickCount() - asked;
        if (took < quickBlockMs) block = std::min(block * 2, largestBlock);
        else if (took > slowBlockMs) block = std::max(block / 2, smallestBlock);
    }
}

// The whole download, on whichever thread runs it.
DownloadOutcome download(Transfer& t) {
    win::HttpAnswer answer(t.stallSeconds, t.cancelled);
    const DownloadOutcome opened = answer.open(t.url, t.result);
    if (opened != DownloadOutcome::ok) return opened;
    noteLength(answer.request(), t);
    return transfer(answer.request(), t);
}

void finish(Transfer& t, DownloadOutcome outcome) {
    t.result.outcome = outcome;
    t.result.received = t.received;
    t.result.announced = t.total;
}

DWORD WINAPI transferThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<Transfer>> held(static_cast<std::shared_ptr<Transfer>*>(parameter));
    Transfer& t = **held;
    finish(t, download(t));
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

DownloadResult Win32Platform::downloadUrl(const std::string& url, std::shared_ptr<PartFile> file,
                                          int stallSeconds, DownloadWatch& watch) {
    auto t = std::make_shared<Transfer>();
    t->url = url;
    t->file = std::move(file);
    t->stallSeconds = stallSeconds;
    const DWORD started = GetTickCount();

    auto* held = new std::shared_ptr<Transfer>(t);
    win::ScopedHandle thread(CreateThread(nullptr, 0, transferThread, held, 0, nullptr));
    if (!thread.valid()) {
        // No thread to spare: the download runs here, without a watch.
        delete held;
        finish(*t, download(*t));
        return t->result;
    }
    for (;;) {
        // Other programs are answered while the transfer runs, its first
        // second before any window shows included.
        if (win::waitAnswering(thread.get(), watchIntervalMs)) return t->result;
        if (watch.keepGoing(progressOf(*t, started))) continue;
        t->cancelled = true;
        // A transfer still waiting on the server keeps its part file until
        // it lets go; the file then goes with its handle.
        win::waitAnswering(thread.get(), cancelGraceMs);
        DownloadResult cancelled;
        cancelled.outcome = DownloadOutcome::cancelled;
        return cancelled;
    }
}

}  // namespace platform
