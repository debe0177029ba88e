// Destroying a menu tree from the leaves up.
#include "platform/win32/scoped_gui.h"

namespace win {

void destroyMenuTree(HMENU menu) {
    // Submenus are taken off the end so that positions stay valid.
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        HMENU sub = GetSubMenu(menu, position);
        if (sub) {
            RemoveMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
            destroyMenuTree(sub);
        }
    }
    DestroyMenu(menu);
}

}  // namespace win
