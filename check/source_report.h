// The source program a dry run assumed: the one "--from" names, or none.
#pragma once
#include <string>

#include "check/dry_run.h"

// Whether to tell of it: when --from named one, or the settings text the
// dispatch read has source blocks (which then are not chosen).
bool sourceWorthTelling(bool given, const std::string& settingsText);
// One line in words after the command line.
void reportSource(Report& r, bool given);
// "@source\tNAME\tPATH" ("@source\t\t" without one), appended to `out`.
void writeSourceTsv(std::string& out, bool given);
