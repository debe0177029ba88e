// The caution box about URLs that were given to be opened but are too long
// to hold.
#pragma once
#include <string>

#include "platform/platform.h"

// The box text for what was recorded since the record was last cleared:
// one paragraph per limit met, naming it in characters and showing the
// start of the first URL that ran into it. Empty when nothing was recorded.
std::string overlongNoticeText();

// Shows that text in a box captioned "注意", owned by `window`, when there
// is any, and clears the record. True when a box was shown.
bool reportOverlongUrls(platform::WindowHandle window);
