// The driver's commands. Each returns the driver's exit code: 0 when what
// the command waits for happened, 1 when it did not, 2 for a usage or
// set-up error.
#pragma once
#include "tests/e2e/driver/support.h"

namespace driver {

// run --exe <path> [--timeout ms] [--out file] [--args-file file | -- words]
//     [--wide-clipboard file] [--window-exe path]
//   Starts the program and waits for it to end; message boxes are
//   recorded and answered. 0 when it ended in time. The file's UTF-8 text
//   goes on the clipboard as CF_UNICODETEXT first. With --window-exe, that
//   copy of the driver first shows a window ("show-window") that is in
//   front when the program starts (front=1 in the report; 0 when it could
//   not be brought there) and is closed at the end; without it, front_none=1
//   tells that no window was in front at the start.
int runCommand(const Options& options);

// show-window [--timeout ms]
//   Shows a top-level window, brings it to the front and keeps it until it
//   is closed (or for the time-out, 30 s unless given).
int showWindowCommand(const Options& options);

// expect-message --exe <path> [--caption text] [--timeout ms] [--out file] ...
//   As run; 0 when a message box (with that caption, if given) was shown
//   and the program ended after it was answered.
int expectMessageCommand(const Options& options);

// fake-copy --exe <path> [--clipboard file | --wide-clipboard file]
//           [--hidden 1] [--show-after ms] [--release-after ms]
//           [--timeout ms] --out file ...
//   Poses as a running copy of the program at that path (its mutex and a
//   window whose class and title are the path, visible unless --hidden 1
//   is given), optionally puts the file's bytes on the clipboard as
//   CF_TEXT (or its UTF-8 text as CF_UNICODETEXT), then starts the program
//   and records every WM_COPYDATA it
//   sends. A hidden stand-in shows its window `show-after` ms after the
//   start; `release-after` ms after it (after showing, if both are given)
//   it ends as a running copy does: releases the mutex and destroys its
//   window. The report gives those times, the first arrival's and the
//   program's end (ms after the start, -1: never). 0 when one arrived.
//
// Every command also takes "--unquoted 1": the program's path is then not
// quoted on its command line; and "--wide 1": the arguments are UTF-8 and
// the program is started with a wide command line (CreateProcessW).
int fakeCopyCommand(const Options& options);

// session --exe <path> --script <file> --out <file>
//   Starts the program and drives its list window by the script's steps
//   (see session.cpp), reading the real list view between them. 0 when
//   every step could be carried out.
int sessionCommand(const Options& options);

// cancel-download --exe <path> --class <window class> [--after ms]
//                 [--timeout ms] [--out file] ...
//   Starts the program (its message boxes answered as by run), waits for
//   its visible window of that class, the download's progress window,
//   and `after` ms later reads it (progress.title, progress.text: its
//   static texts, progress.width, progress.height, its client area's
//   progress.client_width and progress.client_height, and the bar's
//   progress.bar_width and progress.bar_height) and clicks its
//   "キャンセル" button with SendInput, as a person would. The report
//   gives when it showed and was clicked and when the program ended (ms
//   after the start). 0 when it was clicked and the program ended in time.
//   With "--kill 1" the program is ended with TerminateProcess instead of
//   the click (progress.killed: when).
int cancelDownloadCommand(const Options& options);

// trust-cert --cert <file>
//   Adds the DER certificate in the file to the machine's trusted root
//   certificates, as an administrator would for a company's own
//   certificate authority. 0 when it was added.
int trustCertCommand(const Options& options);

// metrics [--texts file] --out file
//   What the system gives a program for the display (its resolution, the
//   small-icon size, menu bar height, screen, the heights of the menu,
//   message and icon-title fonts) and, for each line of the file (code
//   page 932 bytes), its width in the menu font (text.N.menu_width).
int metricsCommand(const Options& options);

// time-dispatch --exe <path> --log <recorder log> [--runs n] [--out file]
//               [--timeout ms] ...
//   Starts the program `runs` times, one after the other; each time
//   measures from the start to the program's end (run.<i>.ended.us) and to
//   the creation of the program it started, as the recorder's log gives it
//   (run.<i>.launched.ms). 0 when every run ended in time and started one.
int timeDispatchCommand(const Options& options);

}  // namespace driver
