// Scaling of pixel sizes to the display's resolution.
#include "common/dpi.h"

namespace {

// Halves round away from zero, as MulDiv does.
int roundedQuotient(long long numerator, long long denominator) {
    const long long half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator
                                           : (numerator - half) / denominator);
}

int orDefault(int dpi) { return dpi > 0 ? dpi : defaultDpi; }

}  // namespace

int scaleForDpi(int pixelsAt96, int dpi) { return rescaleForDpi(pixelsAt96, defaultDpi, dpi); }

int rescaleForDpi(int pixels, int fromDpi, int toDpi) {
    fromDpi = orDefault(fromDpi);
    toDpi = orDefault(toDpi);
    if (fromDpi == toDpi) return pixels;
    return roundedQuotient(static_cast<long long>(pixels) * toDpi, fromDpi);
}
