// The check tool: "lint" reads the settings file and names every problem
// in it, "open" tells what Tavrin would do with the given URLs, "links"
// lists the rows the list window would show for a page, a list file or a
// folder of shortcuts, "browsers" writes the settings lines for the web
// browsers and profiles installed, "doctor" tells whether clicked links
// reach this Tavrin. It runs Tavrin's own code on a dry platform, so it
// starts nothing, downloads nothing and writes nothing (the doctor only
// makes and removes one file, to see that Tavrin could).
#pragma once
#include <string>
#include <vector>

#include "check/dry_platform.h"
#include "check/system_view.h"

// What the entry point of each build knows.
struct CheckEnvironment {
    std::string ownFolder;  // the tool's folder, ending with a separator
    // The Windows build: Tavrin there may find the browser bridge library.
    bool windows = false;
    // Code converter libraries of a build that cannot load Tavrin's (the
    // native one); null to use the platform's.
    DryPlatform::ConverterSource converters;
    // The platform the tool reads files and looks for programs through;
    // null for the native one. The native build's reads file names as
    // UTF-8 while Tavrin's code holds them in code page 932.
    platform::Platform* files = nullptr;
    // The registry and the user's folders, for browsers and doctor; null
    // where there is none to read.
    SystemView* system = nullptr;
};

// What the tool writes: code page 932 text, turned into the console's
// encoding by the entry point unless `raw` asks for the bytes as they are;
// `utf8` asks for UTF-8 where the Windows build would write code page 932
// bytes (a file or a pipe).
struct CheckOutput {
    std::string out, err;
    bool raw = false;
    bool utf8 = false;
};

// Exit status: 0 no problem, 1 problems found (lint, doctor), nothing would
// start (open) or no browser to write (browsers), 2 bad usage or a file
// that cannot be read.
enum CheckStatus : int { checkOk = 0, checkFindings = 1, checkUsage = 2 };

// `words` are the command-line words after the program's name, in code
// page 932.
int runCheck(const std::vector<std::string>& words, const CheckEnvironment& environment,
             CheckOutput& output);
