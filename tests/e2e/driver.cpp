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
    {"trust-cert", driver::trustCertCommand},
    {"metrics", driver::metricsCommand},
    {"time-dispatch", driver::timeDispatchCommand},
    {"show-window", driver::showWindowCommand},
};

// Options as they were given, whatever code page this driver runs in: the
// program's path in UTF-8, a box's caption in code page 932. The ANSI
// arguments hold them in this driver's code page, which may lack some of
// their characters.
std::string inCodePage(const wchar_t* wide, UINT codePage) {
    const int n = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide, -1, &out[0], n, nullptr, nullptr);
    out.pop_back();
    return out;
}

void takeOptionsAsGiven(driver::Options& options) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return;
    for (int i = 2; i + 1 < count; ++i) {
        const std::wstring word = words[i];
        if (word == L"--") break;
        if (word == L"--exe") options.values["exe"] = inCodePage(words[i + 1], CP_UTF8);
        if (word == L"--caption") options.values["caption"] = inCodePage(words[i + 1], 932);
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
        takeOptionsAsGiven(options);
        return c.run(options);
    }
    return usage();
}
