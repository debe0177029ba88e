// The settings steps of a first copy: its switches, then the settings file
// they choose. A second copy that takes over as the first copy runs them
// too, once it has forgotten what it read as a second copy.
#pragma once
#include "platform/platform.h"

// settingsPath reset to the default, the command line's switches applied
// in full, then loadSettings in full. 1 on success; 0 after the loader's
// error box.
int loadFirstCopySettings(platform::WindowHandle window);

// Forgets what a second copy's [system]-only reading, base-only switches
// and payload choice left in the process-wide records, so that a copy
// taking over starts from where a first copy starts. The paths, the key
// states, the screen metrics and the command line stay.
void forgetSecondCopyState();
