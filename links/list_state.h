// What the link list window remembers between commands: the kinds shown,
// whether it stays on top and what a run of checked rows does afterwards.
// The program and filter-group choices live with their settings rows.
#pragma once

enum KindFilter : int { showBothKinds = 0, showAnchorsOnly = 1, showImagesOnly = 2 };

struct ListWindowState {
    int kindFilter = showBothKinds;
    int alwaysOnTop = 1;        // the main window is created topmost
    int uncheckAfterRun = 0;    // menu item 960
    int checkNextAfterRun = 0;  // menu item 961
};

extern ListWindowState listWindow;

// The program index that stands for the association menu.
constexpr int associationProgram = 20;
