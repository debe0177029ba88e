// Item icons: the shell's small icon of a file (or the program's own
// "MYSYS" icon), drawn at the system's small-icon size.
#include "menu/win32/item_bitmap.h"

#include <string>

#include "common/app_state.h"
#include "menu/menu_layout.h"
#include "settings/association_table.h"
#include "settings/settings.h"

namespace {

HICON shellSmallIcon(const std::string& path) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
        return nullptr;
    return info.hIcon;
}

// An icon of our own to destroy after drawing. The resource is loaded at
// the drawn size, so that its small image is used rather than a shrunk
// large one.
HICON loadItemIcon(int source, int width, int height) {
    if (source == iconSystem)
        return static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), "MYSYS", IMAGE_ICON, width, height, 0));
    if (source == iconProgramFolder) return shellSmallIcon(programPaths.programFolder);
    if (source >= 0 && source < associationTable.itemCount)
        return shellSmallIcon(associationTable.items[source].command);
    return nullptr;
}

}  // namespace

win::ScopedBitmap makeItemBitmap(int source) {
    const int width = settings.smallIconWidth > 0 ? settings.smallIconWidth : 16;
    const int height = settings.smallIconHeight > 0 ? settings.smallIconHeight : 16;
    win::ScopedWindowDC screen(static_cast<HWND>(runState.mainWindow));
    if (!screen) return win::ScopedBitmap();
    win::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    win::ScopedMemoryDC memory(screen.get());
    if (!bitmap || !memory) return win::ScopedBitmap();
    {
        win::ScopedSelection selected(memory.get(), bitmap.get());
        RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, GetSysColorBrush(COLOR_MENU));
        win::ScopedIcon icon(loadItemIcon(source, width, height));
        if (icon) DrawIconEx(memory.get(), 0, 0, icon.get(), width, height, 0, nullptr, DI_NORMAL);
    }
    return bitmap;
}
