// The line format of list files: the URL (in double quotes when it holds a
// blank), optionally the title separator and the title, then CR LF.
#pragma once
#include <string>
#include <string_view>

// One line of a list file. An empty title writes the URL alone. When the
// title holds a blank the whole line is quoted, so that reading it back
// gives the title whole.
std::string formatListLine(std::string_view url, std::string_view title,
                           std::string_view separator);
