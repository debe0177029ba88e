// Named %Name% placeholders that do not depend on the URL: special
// folders, the program's folders, today's date and the user parameters.
#pragma once
#include <string>
#include <string_view>

// Receives every result of expandFolderAndDate, cut to 1,040 characters.
extern std::string lastExpansion;

// Expands `text`; the result is cut to 520 characters.
std::string expandFolderAndDate(std::string_view text);

// `text` expanded when "@param" has turned the placeholders on, else as is.
std::string expandWhenParametersOn(std::string_view text);
