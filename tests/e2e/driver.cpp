// The end-to-end driver: a Windows console program that starts Tavrin.exe
// under test and reports what it did. Commands are looked up in one table;
// later tests add rows (menus, the list view, drag and drop).
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win.h"
#include "tests/e2e/driver/support.h"

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
};

// The program's path as it was given, in UTF-8: the ANSI arguments hold it
// in this driver's code page, which may lack some of its characters.
void takeExeAsGiven(driver::Options& options) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return;
    for (int i = 2; i + 1 < count; ++i) {
        if (std::wstring(words[i]) == L"--") break;
        if (std::wstring(words[i]) != L"--exe") continue;
        const int n = WideCharToMultiByte(CP_UTF8, 0, words[i + 1], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, words[i + 1], -1, &utf8[0], n, nullptr, nullptr);
        if (!utf8.empty()) utf8.pop_back();
        options.values["exe"] = utf8;
        break;
    }
    LocalFree(words);
}

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
        takeExeAsGiven(options);
        return c.run(options);
    }
    return usage();
}
