// Where the list window opens and how wide it and its columns start. The
// figures are written for 96 dots per inch and scaled to the resolution of
// the display the window opens on.
#pragma once

constexpr int listWindowWidthAt96 = 470;
constexpr int listWindowHeightAt96 = 450;

struct ListWindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

// Horizontally centred on the screen, its centre at a third of the
// maximized height; a window too tall for that keeps a small gap to the
// top instead. Divisions truncate toward zero.
ListWindowPlacement listWindowPlacement(int screenWidth, int maximizedHeight, int dpi);

// The starting width of column 0 (title) or 1 (URL).
int listColumnWidth(int column, int dpi);
