// The list window's starting geometry at a display resolution.
#include "links/list_layout.h"

#include "common/dpi.h"

namespace {

constexpr int topGapAt96 = 50;
constexpr int columnWidthsAt96[] = {100, 345};

}  // namespace

ListWindowPlacement listWindowPlacement(int screenWidth, int maximizedHeight, int dpi) {
    ListWindowPlacement p;
    p.width = scaleForDpi(listWindowWidthAt96, dpi);
    p.height = scaleForDpi(listWindowHeightAt96, dpi);
    p.x = screenWidth / 2 - p.width / 2;
    p.y = maximizedHeight / 3 - p.height / 2;
    if (p.y < 0) p.y = scaleForDpi(topGapAt96, dpi);
    return p;
}

int listColumnWidth(int column, int dpi) {
    return scaleForDpi(columnWidthsAt96[column == 0 ? 0 : 1], dpi);
}
