// "links": the rows the list window would show for a file or folder.
#pragma once
#include "check/check.h"
#include "check/options.h"

int runLinksCommand(const CheckOptions& options, const CheckEnvironment& environment,
                    CheckOutput& output);

// A text as a JSON string (quotes included); double-byte characters pass
// through whole, so a trail byte that equals '\' stays as it is.
std::string jsonString(std::string_view text);
