// Carrying out what was chosen from the association menu or the tools
// menu: starting a row's program for one or every target, running its
// sub-command, downloading first, the title item's four forms, and the
// tools.
#pragma once
#include "platform/platform.h"

// `id` is the chosen item (0: none); `ctrlAtChoice` whether Ctrl was down
// when it was chosen. menuState.choiceShiftFlag says whether the choice
// applies to every target in hand.
void carryOutMenuChoice(platform::WindowHandle owner, int id, int ctrlAtChoice);
