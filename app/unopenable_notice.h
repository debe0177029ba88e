// The caution box about files and folders given to be opened whose names
// the code page cannot hold.
#pragma once
#include <string>

#include "platform/platform.h"

// The box text for the names recorded since the record was last cleared:
// the sentence, the first name ('?' where characters were lost) and how
// many more there were. Empty when nothing was recorded.
std::string unopenableNoticeText();

// Shows that text in a box captioned "注意", owned by `window`, when there
// is any, and clears the record. True when a box was shown.
bool reportUnopenableNames(platform::WindowHandle window);
