// The box a first copy shows when the system reads the program's texts in
// another code page than 932: where Windows does not give the program the
// code page its manifest asks for (Windows 10 with the UTF-8 option, or
// with a system locale of another language), its menus, lists and boxes
// show other characters than it wrote. The box says so in Japanese and in
// English, names the setting and what to do; the program then carries on.
#pragma once
#include <string>

#include "platform/platform.h"

// The box's text for a system code page, empty for 932.
std::string codePageNoticeText(unsigned codePage);

// Shows that box, owned by `window`, when the platform reports another
// code page than 932. True when it was shown.
bool warnOfForeignCodePage(platform::WindowHandle window);
