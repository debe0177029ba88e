// The built-in tables of link cleaning: the redirectors "@unwrap" knows
// and the tracking parameters "@strip=default" stands for.
#pragma once
#include <string_view>
#include <vector>

#include "settings/cleaning_options.h"

// In the order they are tried (after the user's own entries).
const std::vector<RedirectorEntry>& builtInRedirectors();

// The names of the default strip list; a final '*' makes a prefix.
const std::vector<StripName>& defaultStripNames();
