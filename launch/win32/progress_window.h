// The progress window of a download: the file name, a bar, the bytes so
// far with the rate, and a Cancel button.
#pragma once
#include <memory>
#include <string>

#include "platform/ui_port.h"
#include "platform/win32/win.h"

// The window's class; the tests look for it by this name.
inline constexpr const char* progressWindowClass = "TavrinDownloadProgress";

// Opens the window for a download saved as `fileName`, owned by `owner`
// (which stays disabled while it shows, as under a dialog); null when it
// cannot be made.
std::unique_ptr<ProgressWindow> openProgressWindow(HWND owner, const std::string& fileName);
