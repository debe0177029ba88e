// What a shown popup menu holds besides its menu handles: the bitmaps of
// its items (they must outlive the menu) and the mouse hook. One menu is
// open at a time.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "common/dpi.h"
#include "platform/win32/scoped_gui.h"

struct MenuResources {
    std::vector<win::ScopedBitmap> itemBitmaps;
    // One bitmap per icon source while the menu is open: items of the same
    // program share it.
    std::map<std::string, HBITMAP> bitmapBySource;
    // The resolution of the display the menu shows on, which sizes the
    // bitmaps.
    int dpi = defaultDpi;
    HHOOK menuHook = nullptr;
};

extern MenuResources menuResources;

// The bitmap for an item's icon source (see IconSource), made on first use.
HBITMAP itemBitmapFor(int iconSource);
// Deletes the item bitmaps once the menu they served is destroyed.
void releaseItemBitmaps();
