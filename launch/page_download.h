// Downloading a web page into a local folder.
#pragma once
#include <string>

#include "platform/platform.h"

// The saved file's full path, or the cancel marker when nothing usable was
// downloaded (the failure has then been reported to the user in a box
// owned by `window`) or the user cancelled it in the progress window. Only
// http and https URLs are downloaded; "@timeout=" limits how long the
// server may stay silent. Outside the temporary folder an existing file is
// never replaced: the download takes the next free "name (n).ext". The
// saved file is marked as come from the URL, found on the page `referrer`
// when there is one.
std::string downloadPage(platform::WindowHandle window, const std::string& url,
                         const std::string& folder, const std::string& referrer = std::string());
