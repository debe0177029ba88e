// The item bitmaps of the open menu.
#include "menu/win32/menu_resources.h"

#include "menu/menu_layout.h"
#include "menu/win32/item_bitmap.h"
#include "settings/association_table.h"

MenuResources menuResources;

namespace {

// Sources that name the same picture share one bitmap.
std::string sourceKey(int iconSource) {
    if (iconSource == iconSystem) return "*system";
    if (iconSource == iconProgramFolder) return "*folder";
    return "file:" + associationTable.items[iconSource].command;
}

}  // namespace

HBITMAP itemBitmapFor(int iconSource) {
    if (iconSource < iconSystem || iconSource >= associationTable.itemCount) return nullptr;
    const std::string key = sourceKey(iconSource);
    auto found = menuResources.bitmapBySource.find(key);
    if (found != menuResources.bitmapBySource.end()) return found->second;
    win::ScopedBitmap bitmap = makeItemBitmap(iconSource, menuResources.dpi);
    HBITMAP handle = bitmap.get();
    if (handle) menuResources.itemBitmaps.push_back(std::move(bitmap));
    menuResources.bitmapBySource[key] = handle;
    return handle;
}

void releaseItemBitmaps() {
    menuResources.bitmapBySource.clear();
    menuResources.itemBitmaps.clear();
}
