// What the program's popup menus share: whether one is open, where the
// last one was shown (so that a menu can come back at the same place), and
// whether the choice applies to every target in hand.
#pragma once
#include <string>

struct MenuPlacement {
    int x = 0, y = 0;
    unsigned flags = 0;  // the TrackPopupMenu alignment flags used
};

struct MenuState {
    int menuOpen = 0;               // 1 from building a popup until it is destroyed
    MenuPlacement lastMenuPosition;
    int choiceShiftFlag = 0;        // right button during the menu, or Shift at the choice
    std::string titleItemText;      // 260
};

extern MenuState menuState;
