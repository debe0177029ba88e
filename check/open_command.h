// "open": what Tavrin would do with the given URLs.
#pragma once
#include "check/check.h"
#include "check/options.h"

int runOpenCommand(const CheckOptions& options, const CheckEnvironment& environment,
                   CheckOutput& output);

// Tavrin's command line for the words: joined by blanks, a word that holds
// a blank (and no double quote) in double quotes, as a shell would have
// handed it over.
std::string tavrinCommandLine(const std::vector<std::string>& words);
