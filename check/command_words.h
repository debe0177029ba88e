// The check tool's words as Tavrin would take them: each word is the wide
// text the system hands over, converted as Tavrin converts its own command
// line, so that "open" shows the very URLs Tavrin would open.
#pragma once
#include <string>
#include <string_view>

// A word with a blank is converted as Tavrin receives it, in double quotes
// (a URL in it runs on past the blank), and given back without them.
std::string checkWord(std::u16string_view word);
