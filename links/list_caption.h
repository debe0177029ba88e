// The list window's caption: which program opens the rows and where the
// list came from.
#pragma once
#include <string>

// "関連付け" for the association menu, else the selected list program's
// caption without its "&" marks.
std::string programLabel();
// "[ name ] : label / title" with tabs and line breaks taken out of the
// list title; what every rebuild of the rows shows.
std::string listCaption();
// The caption set when a program is chosen from the program menu: a
// full-width colon after the name, and the list title as it is.
std::string programChoiceCaption();
