// Scaling of pixel sizes to the display's resolution.
#include "common/dpi.h"

int scaleForDpi(int pixelsAt96, int dpi) {
    if (dpi <= 0) dpi = 96;
    const long long scaled = static_cast<long long>(pixelsAt96) * dpi;
    // Halves round away from zero, as MulDiv does.
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}
