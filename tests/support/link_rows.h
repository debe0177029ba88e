// The URL list as the list window shows it, for comparing with expected
// rows: "anchor" or "image", the URL, and the title column's text (an image
// title behind "* "), separated by tabs.
#pragma once
#include <string>
#include <vector>

#include "common/url_list.h"

std::string listRow(const UrlEntry& entry);
std::vector<std::string> listRows();
