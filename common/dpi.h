// Pixel sizes of the program's windows at the display's resolution. Every
// size is written for 96 dots per inch (100%) and scaled through here.
#pragma once

// The resolution the sizes are written for.
constexpr int defaultDpi = 96;

// `pixelsAt96` at `dpi` dots per inch, rounded to the nearest pixel; a
// resolution that is not positive counts as 96.
int scaleForDpi(int pixelsAt96, int dpi);

// `pixels` shown at `fromDpi`, as many at `toDpi`, rounded the same way: a
// size the user set keeps its share of the screen when the window moves to
// a display of another resolution. A resolution that is not positive
// counts as 96.
int rescaleForDpi(int pixels, int fromDpi, int toDpi);
