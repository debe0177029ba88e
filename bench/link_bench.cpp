// Link extraction from one file, the way the program reads a page: the
// file and work buffers, base element, title and tag scan, through
// readLinkSource. Prints how many rows it found, the time the reading took
// and the process's peak memory before and after it, as key=value lines.
//
//   link_bench FILE [BASE]   reads FILE in mode 1 with BASE (default
//                            http://bench.example/dir/page.html)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

#include "app/link_reading.h"
#include "common/app_state.h"
#include "common/url_list.h"

namespace {

// The process's peak resident memory so far (VmHWM). Unlike getrusage's
// figure it starts anew with the program, not with the process that
// started it.
long peakKib() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
    }
    std::fclose(f);
    return kib;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: link_bench FILE [BASE]\n");
        return 2;
    }
    const long before = peakKib();
    linkSource.linkMode = 1;
    linkSource.baseUrl = argc > 2 ? argv[2] : "http://bench.example/dir/page.html";
    const auto start = std::chrono::steady_clock::now();
    const int read = readLinkSource(nullptr, argv[1]);
    const auto end = std::chrono::steady_clock::now();
    std::printf("read=%d rows=%d seconds=%.6f before_kib=%ld peak_kib=%ld\n", read, urlList.urlCount,
                std::chrono::duration<double>(end - start).count(), before, peakKib());
    for (int i = 0; i < urlList.urlCount && i < 3; ++i)
        std::printf("row%d=%s\n", i, urlList.entries[static_cast<std::size_t>(i)].url.c_str());
    return read ? 0 : 1;
}
