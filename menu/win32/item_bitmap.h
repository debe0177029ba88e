// The small icon of a menu item, drawn into a bitmap in the menu's colour.
#pragma once
#include "platform/win32/scoped_gui.h"

// source: -2 the program's "MYSYS" icon, -1 the icon of the program's
// folder, k >= 0 the icon of the file row k's command names. The bitmap
// has the small-icon size of a display of `dpi`. Without an icon it is
// plain menu colour.
win::ScopedBitmap makeItemBitmap(int source, int dpi);
