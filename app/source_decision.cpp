// Deciding the source program. The names below are those of Windows' own
// programs, compared without regard to ASCII case.
#include "app/source_decision.h"

#include "common/text.h"

namespace {

using platform::ProcessId;

// Windows in front of these say nothing of a link's source: a link opened
// from the desktop, the taskbar, the Start menu or its search, or typed in
// a console ("start URL"), was opened by whatever started us. A console
// window is reported as its first program's (cmd.exe), not the console
// host's.
constexpr std::string_view shellPrograms[] = {
    "explorer.exe",       "startmenuexperiencehost.exe", "shellexperiencehost.exe",
    "searchhost.exe",     "searchapp.exe",               "searchui.exe",
    "conhost.exe",        "openconsole.exe",             "windowsterminal.exe",
    "cmd.exe",            "powershell.exe",              "pwsh.exe",
};

// Hosts that carry other programs, and how the system tells which.
enum class LookThrough {
    framedWindow,  // the window in front is a frame around the program's own
    parent,        // the host is started by the program it serves
    none,          // the system does not tell: named as it is
};
struct Carrier {
    std::string_view name;
    LookThrough how;
};
constexpr Carrier carriers[] = {
    {"applicationframehost.exe", LookThrough::framedWindow},
    {"msedgewebview2.exe", LookThrough::parent},
    {"runtimebroker.exe", LookThrough::none},
};
// A web view's processes start one another; its program is a few up.
constexpr int maxParentSteps = 4;

LookThrough carrierKind(const SourceProgram& s) {
    for (const Carrier& c : carriers)
        if (text::equalsNoCase(s.name, c.name)) return c.how;
    return LookThrough::none;
}

// The program of `process`: its full path, or where that cannot be asked
// the file name the process list gave.
SourceProgram programOf(platform::ProcessQuery& query, ProcessId process,
                        std::string_view listedName = {}) {
    std::string path;
    if (query.imagePath(process, path)) return sourceProgramFrom(path);
    return sourceProgramFrom(listedName);
}

// Up from a host started by the program it serves.
SourceProgram throughParents(platform::ProcessQuery& query, ProcessId process, SourceProgram s) {
    for (int step = 0; step < maxParentSteps && carrierKind(s) == LookThrough::parent; ++step) {
        std::string name;
        const ProcessId parent = query.parentProcess(process, name);
        if (parent == 0) break;
        const SourceProgram up = programOf(query, parent, name);
        if (!up.known()) break;
        s = up;
        process = parent;
    }
    return s;
}

}  // namespace

bool isShellProgram(std::string_view name) {
    for (std::string_view shell : shellPrograms)
        if (text::equalsNoCase(name, shell)) return true;
    return false;
}

SourceProgram decideSourceProgram(platform::ProcessQuery& query, std::string_view ownPath) {
    const ProcessId own = query.ownProcess();
    const ProcessId front = query.foregroundProcess();
    if (front != 0 && front != own) {
        ProcessId process = front;
        SourceProgram s = programOf(query, front);
        if (carrierKind(s) == LookThrough::framedWindow) {
            const ProcessId framed = query.framedProcess();
            if (framed != 0 && framed != own) {
                const SourceProgram inner = programOf(query, framed);
                if (inner.known()) {
                    s = inner;
                    process = framed;
                }
            }
        }
        s = throughParents(query, process, s);
        const bool tavrin = !s.path.empty() && text::equalsNoCase(s.path, ownPath);
        if (s.known() && !isShellProgram(s.name) && !tavrin) return s;
    }
    std::string name;
    const ProcessId parent = query.parentProcess(own, name);
    if (parent == 0) return SourceProgram{};
    return throughParents(query, parent, programOf(query, parent, name));
}
