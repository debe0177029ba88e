// Deletes everything inside a folder (the temporary folder at start).
#pragma once
#include <string>

#include "platform/platform.h"

// 0 once the deletion was requested; -1 when the folder cannot be listed or
// holds nothing.
int emptyFolder(platform::WindowHandle owner, const std::string& folder);
