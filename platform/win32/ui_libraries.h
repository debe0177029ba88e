// The common controls and the common dialogs, loaded when first wanted
// rather than at every start: a clicked link's dispatch shows neither, and
// mapping them at start (the dialogs bring the printing libraries along)
// took a good part of its time.
#pragma once
#include "platform/win32/win.h"

namespace platform {

// Loads the common controls, in the version the program's manifest names,
// and registers the classes given as ICC_ flags. False when the library
// or the registration fails.
bool initCommonControls(DWORD classes);

// The open and save dialogs of the system's common dialog library, in
// their wide forms: the name chosen comes back as it is, not as the
// system's look-alike in some code page. FALSE, as for a cancelled dialog,
// also when the library cannot be loaded.
BOOL openFileDialog(OPENFILENAMEW& dialog);
BOOL saveFileDialog(OPENFILENAMEW& dialog);

}  // namespace platform
