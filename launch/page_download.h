// Downloading a web page into a local folder.
#pragma once
#include <string>

#include "platform/platform.h"

// The saved file's full path, or the cancel marker when nothing usable was
// downloaded (the failure has then been reported to the user in a box
// owned by `window`). Only http and https URLs are downloaded; the time
// limit is the "@timeout=" setting.
std::string downloadPage(platform::WindowHandle window, const std::string& url,
                         const std::string& folder);
