// The driver's commands for popup menus: watching the program's menus while
// the test script works them through the X server, sending Windows-side
// input (held Shift and Ctrl), and timing how soon a menu shows.
#pragma once
#include "tests/e2e/driver/support.h"

namespace driver {

// menu --exe <path> --events <file> [--out file] [--timeout ms]
//      [--foreground l,t,r,b] [--cursor x,y] [--clipboard file] ...
//   Optionally shows a window of its own at the given rectangle and makes
//   it the foreground window, moves the mouse and sets the clipboard
//   (CF_TEXT), then starts the program and watches it until it ends. Every
//   popup menu window (class "#32768") of the program that appears is
//   written to the events file at once ("menu <n> <left> <top> <right>
//   <bottom>"), and so is "closed <n>" when no menu is left open, each
//   message box ("message <n>") as it is answered with OK, and "exit
//   <code>" at the end. The report holds the same and the screen metrics.
//   0 when the program ended in time.
int menuCommand(const Options& options);

// input -- <step> ...
//   Sends input with SendInput, one step after the other:
//   down:<key>, up:<key>, press:<key> (key: shift, ctrl, space, return,
//   escape, up, down, left, right, or one letter or digit),
//   move:<x>,<y>, click:<x>,<y>, rclick:<x>,<y>, sleep:<ms>.
int inputCommand(const Options& options);

// time-menu --exe <path> [--runs n] [--out file] [--timeout ms] ...
//   Starts the program `runs` times; each time measures from the start to
//   the first visible popup menu window of the program, then dismisses it
//   and waits for the program to end. Reports run.<i>.us (microseconds). 0 when every run
//   showed a menu.
int timeMenuCommand(const Options& options);

}  // namespace driver
