// Association dispatch: reads the settings file afresh, picks the block for
// the target in urlList (the first source block naming the program it came
// from, else the first host block naming its host, else the block of its
// extension), and starts the one program that applies, opens
// the target by the system, or leaves the choice to the association menu.
#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

struct DispatchState {
    std::string sectionKey;    // 260: the header searched for, or the source or host header used
    int useAlternateFile = 0;  // 1 while the "@ext2=" file is in use
};

extern DispatchState dispatchState;

// 1 when the dispatch ran, 0 when the settings file could not be opened.
int openWithSettings(platform::WindowHandle window, int useAlternate, int menuMode);
// 1 when the target was dealt with, 0 when the menu must be shown.
int selectAssociation(platform::WindowHandle window, std::string_view settingsText);
