// "links": the rows the list window would show for a file or folder.
#pragma once
#include "check/check.h"
#include "check/options.h"

int runLinksCommand(const CheckOptions& options, const CheckEnvironment& environment,
                    CheckOutput& output);
