// The "run" and "expect-message" commands: start the program, answer its
// message boxes, wait for it to end.
#include "tests/e2e/driver/commands.h"

#include <cstdio>

#include "tests/e2e/driver/front_window.h"
#include "tests/e2e/driver/input.h"

namespace driver {

namespace {

// "--wide-clipboard FILE": the file's UTF-8 text as CF_UNICODETEXT before
// the start.
bool putWideClipboard(const Options& options) {
    if (!options.has("wide-clipboard")) return true;
    std::string utf8;
    if (readBytes(options.get("wide-clipboard"), utf8) && putClipboardWideText(nullptr, utf8)) return true;
    std::fprintf(stderr, "cannot set the clipboard\n");
    return false;
}

// Runs the program to its end or its time-out and writes the report;
// -1 when it could not be started, else 1 when it ended in time.
int runToEnd(const Options& options, Child& child) {
    if (!putWideClipboard(options)) return -1;
    FrontWindow front;
    Report report;
    if (options.has("window-exe")) report.set("front", front.start(options.get("window-exe")) ? 1 : 0);
    else report.set("front_none", GetForegroundWindow() ? 0 : 1);
    if (!startProgram(options, child)) return -1;
    bool ended = child.watch(deadlineAfter(options.number("timeout", 10000)), true);
    if (!ended) child.kill();
    child.addTo(report);
    report.write(options.get("out"));
    return ended ? 1 : 0;
}

}  // namespace

int runCommand(const Options& options) {
    Child child;
    int ended = runToEnd(options, child);
    return ended < 0 ? 2 : ended == 1 ? 0 : 1;
}

int expectMessageCommand(const Options& options) {
    Child child;
    int ended = runToEnd(options, child);
    if (ended < 0) return 2;
    bool shown = false;
    for (const SeenDialog& dialog : child.dialogs())
        shown = shown || !options.has("caption") || dialog.caption == options.get("caption");
    return ended == 1 && shown ? 0 : 1;
}

}  // namespace driver
