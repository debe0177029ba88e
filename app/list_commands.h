// The list window's commands (its menu bar) and its row menu.
#pragma once
#include "platform/platform.h"

// Runs one command of the menu bar. Takes a snapshot of urlList first;
// the commands that fail to build a new list put it back.
void onListCommand(platform::WindowHandle window, int id);

// The row menu at the mouse (atCentre 0) or the window's centre, and the
// chosen item.
void showRowMenu(platform::WindowHandle window, int atCentre);
// What a choice of the row menu does.
void runRowMenuChoice(platform::WindowHandle window, int id);

// Enter or a double click on a row: the selected row with the selected
// list program.
void openSelectedRow(platform::WindowHandle window);
