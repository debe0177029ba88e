// Reading a local HTML page or list file into urlList.
#pragma once
#include <string>

#include "platform/platform.h"

// 1 when the file was read and the list rebuilt, 0 when it could not be.
int readLinkSource(platform::WindowHandle window, const std::string& path);
