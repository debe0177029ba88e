// What link cleaning costs a dispatch: Tavrin's own start (the creation
// step's settings loader, then the start-up action: recognition, association
// selection, the start it makes) on the check tool's dry platform, which
// records the start instead of making it. Timed with and without "@unwrap"
// and "@strip=default" for the same links, in one run. Each round times
// both sides back to back (which goes first alternates). The ratio compares
// each side's fastest round (what the code costs when nothing else gets in
// the way); the median of the rounds' own ratios is given beside it. Two
// sets of links:
//   common   links that need no cleaning
//   dirty    redirect links and tracked links (with the options they are
//            opened clean, without as they are; one program either way)
// and the cleaning of one link on its own. A real start also starts a
// program, which the dry platform only records: the time this machine
// takes to start one (/bin/true) puts the difference in proportion.
// Prints key=value lines.
//
//   clean_bench FOLDER [ROUNDS [CLEANINGS]]   FOLDER: an empty scratch folder
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/routing.h"
#include "app/switches.h"
#include "check/check.h"
#include "check/dry_platform.h"
#include "check/recording_ports.h"
#include "check/tool_setup.h"
#include "common/app_state.h"
#include "settings/settings.h"
#include "links/url_cleaning.h"
#include "settings/cleaning_options.h"

namespace {

using Clock = std::chrono::steady_clock;

// The association blocks: the same program and template in each, so that
// a link costs the same wherever it is filed.
std::string blocks(const std::string& viewer) {
    std::string text;
    for (const char* key : {"[.html]", "[.pdf]", "[blank]", "[.*]"})
        text += std::string(key) + "\n" + viewer + "\n>-open %L\n%end\n";
    return text;
}

// Links as they arrive, and what cleaning makes of them.
const std::vector<std::pair<std::string, std::string>> dirty = {
    {"https://www.google.com/url?q=https%3A%2F%2Fdocs.example%2Freport.pdf&sa=U&ved=2ahUKEwj&usg=AOvVaw",
     "https://docs.example/report.pdf"},
    {"https://l.facebook.com/l.php?u=https%3A%2F%2Fnews.example%2Fa%2Fstory.html%3Fid%3D7&h=AT0x",
     "https://news.example/a/story.html?id=7"},
    {"https://nam12.safelinks.protection.outlook.com/?url=https%3A%2F%2Fshop.example%2Fitem%2F42&data=05%7C01&reserved=0",
     "https://shop.example/item/42"},
    {"https://news.example/b/page.html?utm_source=mail&utm_medium=news&id=3&fbclid=IwAR0",
     "https://news.example/b/page.html?id=3"},
};
const std::vector<std::string> plain = {
    "https://docs.example/manual.pdf", "http://news.example/c/page.html?id=5#top",
    "https://shop.example/item/43", "http://host.example/dir/",
};

bool write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// Seconds for `repeat` dry starts of every URL, each as a first copy of
// Tavrin makes it.
double timeStarts(const std::string& ini, const std::vector<std::string>& urls, int repeat,
                  const CheckEnvironment& environment) {
    CheckOptions options;
    options.ini = ini;
    options.iniGiven = true;
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    const auto start = Clock::now();
    for (int r = 0; r < repeat; ++r) {
        for (const std::string& url : urls) {
            resetTavrinState(file);
            EffectLog log;
            DryPlatform os(platform::nativePlatform(), log, environment.converters);
            RecordingUi ui(log, false);
            RecordingBrowser browser(log);
            ScopedPorts ports(os, ui, browser);
            runState.currentTarget = url;
            applySwitches(runState.currentTarget, switchesFull);
            loadSettings(nullptr, 0);
            startupAction(nullptr, 0, 0);
            if (log.all().empty() || log.all().back().kind != Effect::Kind::start) {
                std::fprintf(stderr, "no start for %s\n", url.c_str());
                std::exit(1);
            }
        }
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Microseconds to start a program and see it end, the fastest of a few.
double programStartUs() {
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        char program[] = "/bin/true";
        char* argv[] = {program, nullptr};
        const auto start = Clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) return 0;
        int status = 0;
        waitpid(pid, &status, 0);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return *std::min_element(times.begin(), times.end());
}

double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: clean_bench FOLDER [ROUNDS [CLEANINGS]]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    const int rounds = argc > 2 ? std::max(3, std::atoi(argv[2])) : 31;
    const int repeat = 40;
    const std::string without = folder + "without.ini", with = folder + "with.ini";
    const std::string viewer = folder + "viewer.exe";
    if (!write(viewer, "MZ") || !write(without, "[system]\n%end\n" + blocks(viewer)) ||
        !write(with, "[system]\n@unwrap\n@strip=default\n%end\n" + blocks(viewer))) {
        std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
        return 2;
    }
    CheckEnvironment environment;
    environment.ownFolder = folder;

    std::vector<std::string> dirtyUrls;
    for (const auto& link : dirty) dirtyUrls.push_back(link.first);
    // Warm-up: caches, the first allocation of every record.
    timeStarts(without, plain, 2, environment);
    timeStarts(with, dirtyUrls, 2, environment);

    struct Side {
        std::vector<double> without, with, ratios;
    };
    Side common, cleaned;
    auto measure = [&](Side& side, const std::vector<std::string>& urls, bool withFirst) {
        double off = 0, on = 0;
        if (withFirst) on = timeStarts(with, urls, repeat, environment);
        off = timeStarts(without, urls, repeat, environment);
        if (!withFirst) on = timeStarts(with, urls, repeat, environment);
        side.without.push_back(off);
        side.with.push_back(on);
        side.ratios.push_back(on / off);
    };
    for (int round = 0; round < rounds; ++round) {
        measure(common, plain, round % 2 == 1);
        measure(cleaned, dirtyUrls, round % 2 == 0);
    }
    const double perStart = 1e6 / (repeat * static_cast<double>(plain.size()));

    // The cleaning alone, as recognition meets it.
    LinkCleaning rules;
    addUnwrapOption("", rules);
    addStripOption("default", rules);
    const int cleanings = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200000;
    std::size_t sink = 0;
    const auto start = Clock::now();
    for (int i = 0; i < cleanings; ++i) sink += cleanUrl(dirtyUrls[i % dirtyUrls.size()], rules).url.size();
    const double cleanNs = std::chrono::duration<double>(Clock::now() - start).count() * 1e9 / cleanings;

    std::printf("rounds=%d starts_per_sample=%d\n", rounds, repeat * static_cast<int>(plain.size()));
    for (const auto& [name, side] : {std::pair<const char*, const Side*>{"common", &common}, {"dirty", &cleaned}})
        std::printf("%s_without_us=%.1f %s_with_us=%.1f %s_ratio=%.3f %s_median_ratio=%.3f\n", name,
                    fastest(side->without) * perStart, name, fastest(side->with) * perStart, name,
                    fastest(side->with) / fastest(side->without), name, median(side->ratios));
    const double spawnUs = programStartUs();
    const double extraUs = (fastest(cleaned.with) - fastest(cleaned.without)) * perStart;
    std::printf("program_start_us=%.0f dirty_extra_us=%.2f dirty_ratio_with_program_start=%.4f\n", spawnUs,
                extraUs, (fastest(cleaned.with) * perStart + spawnUs) / (fastest(cleaned.without) * perStart + spawnUs));
    std::printf("clean_one_link_ns=%.0f share_of_a_start=%.4f (%zu)\n", cleanNs,
                cleanNs / 1000.0 / (fastest(cleaned.with) * perStart), sink % 10);
    return 0;
}
