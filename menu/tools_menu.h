// The tools menu, offered when the program is started with nothing to
// open: the list window, the clipboard, the two settings files, the help
// text and the version.
#pragma once
#include <string>

#include "menu/menu_layout.h"

MenuLayout toolsMenuLayout(const std::string& settingsPath, const std::string& alternatePath);
