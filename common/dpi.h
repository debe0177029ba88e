// Pixel sizes of the program's windows at the display's resolution. Every
// size is written for 96 dots per inch and scaled through here.
#pragma once

// `pixelsAt96` at `dpi` dots per inch, rounded to the nearest pixel; a
// resolution that is not positive counts as 96.
int scaleForDpi(int pixelsAt96, int dpi);
