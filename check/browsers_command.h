// "browsers": the user's web browsers and their profiles, and the settings
// lines that offer each profile and the private window in Tavrin's menu.
#pragma once
#include <string>

#include "check/check.h"
#include "check/options.h"

int runBrowsersCommand(const CheckOptions& options, const CheckEnvironment& environment,
                       CheckOutput& output);
