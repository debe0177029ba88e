// The boxes that tell the user how a download failed.
#pragma once
#include <string>

#include "platform/platform.h"

// Shows the box for `result` (none for a cancelled download, the user's
// own choice), owned by `window`; `savedPath` is where the file was to go.
void reportDownloadFailure(platform::WindowHandle window, const platform::DownloadResult& result,
                           const std::string& savedPath);

// The text and caption of that box; an empty caption for no box.
struct DownloadBox {
    std::string text, caption;
};
DownloadBox downloadFailureBox(const platform::DownloadResult& result, const std::string& savedPath);
