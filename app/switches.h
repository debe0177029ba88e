// The "/#" command-line switches.
#pragma once
#include <string_view>

enum SwitchMode : int { switchesFull = 0, switchesBaseOnly = 1 };

void applySwitches(std::string_view commandLine, int mode);

// Key-state inversions "/#k=sft" and "/#k=ctl", applied at window creation.
void applyKeyInversions(std::string_view commandLine);
