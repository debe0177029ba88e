// What choosing one item of the association menu would do: the menu's own
// carrying out of a choice (app/menu_choice), run on whatever platform the
// caller installed (the check tool's dry one), so that a preview and a
// real choice can never tell different stories.
#pragma once
#include <vector>

#include "common/url_list.h"

// Puts the targets back into urlList (a start may have emptied it), then
// carries out row `k` as a plain choice from the menu: no Shift, no Ctrl,
// the left button.
void chooseRowDry(int k, const std::vector<UrlEntry>& targets);

// The same for any item of the menu, by its identifier (a row's, or the
// title item's).
void chooseMenuItemDry(int id, const std::vector<UrlEntry>& targets);
