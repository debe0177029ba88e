// Item icons: the shell's small icon of a file (or the program's own
// "MYSYS" icon), drawn at the small-icon size of the menu's display.
#include "menu/win32/item_bitmap.h"

#include <algorithm>
#include <string>

#include "common/app_state.h"
#include "menu/menu_layout.h"
#include "platform/win32/dpi.h"
#include "settings/association_table.h"

namespace {

// The shell's small icon; its large one for a bitmap larger than the
// system's small icons (a display of a higher resolution than the
// system's), so that the picture is shrunk rather than blown up.
HICON shellIcon(const std::string& path, int width) {
    const UINT size = width > GetSystemMetrics(SM_CXSMICON) ? SHGFI_LARGEICON : SHGFI_SMALLICON;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | size)) return nullptr;
    return info.hIcon;
}

// An icon of our own to destroy after drawing. The resource is loaded at
// the drawn size, so that its small image is used rather than a shrunk
// large one.
HICON loadItemIcon(int source, int width, int height) {
    if (source == iconSystem)
        return static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), "MYSYS", IMAGE_ICON, width, height, 0));
    if (source == iconProgramFolder) return shellIcon(programPaths.programFolder, width);
    if (source >= 0 && source < associationTable.itemCount)
        return shellIcon(associationTable.items[source].command, width);
    return nullptr;
}

}  // namespace

win::ScopedBitmap makeItemBitmap(int source, int dpi) {
    const int width = std::max(systemMetricForDpi(SM_CXSMICON, dpi), 1);
    const int height = std::max(systemMetricForDpi(SM_CYSMICON, dpi), 1);
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
