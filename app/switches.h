// The "/#" command-line switches.
#pragma once
#include <cstddef>
#include <string_view>

enum SwitchMode : int { switchesFull = 0, switchesBaseOnly = 1 };

void applySwitches(std::string_view commandLine, int mode);

// Position of the first occurrence of switch `name` (case folded) where it
// begins a token: at the start of the text or after a blank (space, TAB,
// CR, LF), outside double quotes. npos when there is none.
std::size_t findSwitch(std::string_view line, std::string_view name);
bool hasSwitch(std::string_view line, std::string_view name);

// Key-state inversions "/#k=sft" and "/#k=ctl", applied at window creation.
void applyKeyInversions(std::string_view commandLine);
