// Where the browsers' lines go in the settings file the user has: the
// separator it sets, an "[all]" block to put them into, a "[.*]" block
// through which URLs without a block of their own reach "[all]".
#pragma once
#include <string>
#include <vector>

#include "check/check.h"
#include "check/messages.h"
#include "check/options.h"

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
