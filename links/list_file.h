// The line format of list files: the URL (in double quotes when it holds a
// blank), optionally the title separator and the title, then CR LF.
#pragma once
#include <string>
#include <string_view>

// One line of a list file (URL cut to 779 characters, title to 259). An
// empty title writes the URL alone. A line that holds a blank or a tab is
// quoted whole, so that reading it back gives the title whole as well.
std::string formatListLine(std::string_view url, std::string_view title,
                           std::string_view separator);
