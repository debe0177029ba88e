// Collecting the Internet shortcuts of a folder into urlList.
#pragma once
#include <string>

#include "platform/platform.h"

struct ShortcutScan {
    int includeSubfolders = 0;
    int shortcutCount = 0;
    int shortcutListFull = 0;
};

extern ShortcutScan shortcutScan;

// Appends the shortcuts of `folder` (and, with includeSubfolders, of its
// subfolders) to urlList from entry shortcutCount on.
void collectShortcuts(platform::WindowHandle window, const std::string& folder);
