// The end-to-end driver: a Windows console program that starts Tavrin.exe
// under test and reports what it did. Commands are looked up in one table;
// later tests add rows (menus, the list view, drag and drop).
#include <cstdio>
#include <cstring>

#include "tests/e2e/driver/commands.h"
#include "tests/e2e/driver/menu_commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const driver::Options&);
};

const Command commands[] = {
    {"run", driver::runCommand},
    {"expect-message", driver::expectMessageCommand},
    {"fake-copy", driver::fakeCopyCommand},
    {"menu", driver::menuCommand},
    {"input", driver::inputCommand},
    {"time-menu", driver::timeMenuCommand},
    {"session", driver::sessionCommand},
    {"cancel-download", driver::cancelDownloadCommand},
    {"metrics", driver::metricsCommand},
    {"time-dispatch", driver::timeDispatchCommand},
    {"show-window", driver::showWindowCommand},
};

int usage() {
    std::fprintf(stderr, "usage: tavrin_driver <command> [--option value ...] [-- words]\ncommands:");
    for (const Command& c : commands) std::fprintf(stderr, " %s", c.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        driver::Options options;
        if (!driver::parseOptions(argc, argv, 2, options)) return usage();
        return c.run(options);
    }
    return usage();
}
