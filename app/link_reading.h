// Filling the list from a link source: a local HTML page or list file, or
// a web page downloaded first. These sequences join link extraction, input
// recognition, the page download and the list window.
#pragma once
#include <string>

#include "platform/platform.h"

// Reads the file as linkSource.linkMode says (0 a list of URLs, 1 or 2 an
// HTML page) into urlList and rebuilds the list rows. 1 when the file was
// read, 0 when it could not be (urlList is then unchanged).
int readLinkSource(platform::WindowHandle window, const std::string& path);

// Downloads the page `url` names into the temporary folder and reads its
// links with the URL as base. False when the download was refused, failed
// or was cancelled, or the saved page could not be read.
bool downloadAndExtract(platform::WindowHandle window, const std::string& url);
