// Where a popup menu goes: at the active window, a fixed point, the mouse
// pointer or the screen centre, or where the last one was.
#pragma once
#include "menu/menu_state.h"

// TrackPopupMenu's flags: the choice is returned, either button chooses,
// and the alignments of the point.
enum TrackFlags : unsigned {
    trackCenterAlign = 0x0004,
    trackVCenterAlign = 0x0010,
    trackReturnCommand = 0x0100,
    trackRightButton = 0x0002,
};

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// What the choice depends on, gathered by the window layer.
struct PlacementInput {
    int menuPosition = 0;   // the settings' mode (0 to 4)
    int menuX = 0, menuY = 0;
    int screenWidth = 0, maximizedHeight = 0;
    int mouseButtonCount = 0;
    int cursorX = 0, cursorY = 0;
    bool haveForeground = false;  // the window active at start, if any
    ScreenRect foreground;
    int samePosition = 0;
    MenuPlacement last;
};

// The point and its alignment flags (without the tracking flags).
MenuPlacement chooseMenuPlacement(const PlacementInput& in);
