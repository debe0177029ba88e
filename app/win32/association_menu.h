// The association menu and the tools menu on screen.
#pragma once
#include "platform/win32/win.h"

// Builds the menu (toolsMenu 0: the association table's rows and the title
// item; otherwise the tools), shows it where the settings say or, with
// samePosition 1, where the last one was, waits for Ctrl and Shift to be
// let go and carries out the choice.
void showAssociationMenu(HWND owner, int toolsMenu, int samePosition);
