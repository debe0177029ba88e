// The menu's position by mode.
#include "menu/menu_position.h"

#include "settings/settings.h"

namespace {

MenuPlacement screenCentre(const PlacementInput& in) {
    return {in.screenWidth / 2, in.maximizedHeight / 2, trackCenterAlign | trackVCenterAlign};
}

}  // namespace

MenuPlacement chooseMenuPlacement(const PlacementInput& in) {
    if (in.samePosition == 1) return in.last;
    switch (in.menuPosition) {
        case menuAtActiveWindow: {
            const ScreenRect& r = in.foreground;
            const int width = r.right - r.left, height = r.bottom - r.top;
            if (!in.haveForeground || width <= 0 || height <= 0) return screenCentre(in);
            return {r.left + width / 2, r.top + height / 2, trackCenterAlign | trackVCenterAlign};
        }
        case menuAtXY: return {in.menuX, in.menuY, 0};
        case menuAtMouse:
        case menuAtMouse2:
            if (in.mouseButtonCount == 0) return screenCentre(in);
            return {in.cursorX, in.cursorY,
                    in.menuPosition == menuAtMouse2 ? unsigned{trackVCenterAlign} : 0u};
        default: return screenCentre(in);
    }
}
