// Download throughput of the program's own page download: fetches a URL
// into a folder with downloadPage several times and prints the time of
// each transfer and the best rate. Only the download is timed, not the
// start of the process.
//   download_bench URL FOLDER [RUNS]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/app_state.h"
#include "launch/page_download.h"
#include "platform/win32/win.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: download_bench URL FOLDER [RUNS]\n");
        return 2;
    }
    const std::string url = argv[1], folder = argv[2];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    // The folder stands for the temporary one, as for the list window's
    // pages: each run replaces the copy before.
    settings.tempFolder = folder;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double best = 1e9;
    std::string saved;
    for (int i = 0; i < runs; ++i) {
        QueryPerformanceCounter(&start);
        saved = downloadPage(nullptr, url, folder);
        QueryPerformanceCounter(&end);
        if (saved == cancelMarker) {
            std::fprintf(stderr, "download failed\n");
            return 1;
        }
        const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        std::printf("run %d: %.4f s\n", i + 1, seconds);
        if (seconds < best) best = seconds;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(saved.c_str(), GetFileExInfoStandard, &data);
    const double megabytes = double(data.nFileSizeLow) / (1024.0 * 1024.0);
    std::printf("best %.4f s for %.1f MB: %.1f MB/s\n", best, megabytes, megabytes / best);
    return 0;
}
