// "browsers": the user's web browsers and their profiles, and the settings
// lines that offer each profile and the private window in Tavrin's menu.
#pragma once
#include <string>

#include "check/check.h"
#include "check/options.h"

int runBrowsersCommand(const CheckOptions& options, const CheckEnvironment& environment,
                       CheckOutput& output);

// What the lines to paste depend on in the settings file beside the tool
// (or --ini): its separator, and whether it has an "[all]" block to put
// them into and a "[.*]" block through which a URL without a block of its
// own reaches "[all]".
struct SettingsForPaste {
    std::string separator = " | ";
    bool hasAll = false;
    bool hasFallback = false;
};

// False with `error` set when a file --ini names cannot be read; a missing
// Tavrin.ini beside the tool reads as an empty one.
bool readSettingsForPaste(const CheckOptions& options, const CheckEnvironment& environment,
                          SettingsForPaste& out, std::string& error);

// The lines to paste: into the "[all]" block the file has, else a new one,
// behind an empty "[.*]" block when the file has none.
std::vector<std::string> linesToPaste(const std::vector<std::string>& body, const SettingsForPaste& settings,
                                      Language language);
