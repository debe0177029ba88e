// What choosing one row of the association table would do: the row's
// program started with the first target, or its sub-command run the way
// the menu runs it (every target for "]", downloading first for "*" and
// "#"). Runs the real launch code; the caller installs a dry platform.
#pragma once
#include <vector>

#include "common/url_list.h"

// Puts the targets back into urlList (a start may have emptied it), then
// carries out row `k`.
void chooseRowDry(int k, const std::vector<UrlEntry>& targets);
