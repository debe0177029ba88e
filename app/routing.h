// What follows once an input has been recognised: the start-up action of a
// first copy, and the routes of hand-offs, drops and clipboard changes
// while the list window is open.
#pragma once
#include <string>
#include <string_view>

#include "common/source_program.h"
#include "platform/platform.h"

// Runs once, from the message loop once the main window exists. Ends the
// program unless the list window was opened.
void startupAction(platform::WindowHandle window, int shift, int ctrl);

// The tools menu's clipboard command: the clipboard's folder, file or URLs
// taken like a start-up input (`ctrl` for subfolders, `useAlternate` for
// the second settings file).
void clipboardCommand(platform::WindowHandle window, int ctrl, int useAlternate);

// WM_COPYDATA from a second copy; ignored unless the list window is open.
// `source` is the program the second copy was started from, which the
// handed-over rows keep.
void receiveHandOff(platform::WindowHandle window, unsigned transferCode,
                    std::string_view payload, const SourceProgram& source = SourceProgram{});

// A file dropped on the list window (the first file of the drop). `ctrl`
// is Ctrl as it was at the drop (-1: as it is now), for a folder's
// subfolders.
void routeDroppedFile(platform::WindowHandle window, const std::string& path, int ctrl = -1);
// Text dropped on the list window.
void routeDroppedText(platform::WindowHandle window, std::string_view text, int ctrl = -1);
// The clipboard changed while it is being watched: its text read now.
void routeClipboardChange(platform::WindowHandle window);
// The same with the text the clipboard held at the change.
void routeClipboardText(platform::WindowHandle window, std::string_view text, int ctrl = -1);
