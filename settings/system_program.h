// "@system" program rows: the program the system associates with the
// target's file type.
#pragma once
#include <string>

// Fills command and caption of row `row` for the target in entry 0 of
// urlList: the associated ".exe", or "@system" when there is none usable.
void resolveSystemProgram(int row);

// True when `path` names this program's own executable (compared as full
// paths, ASCII case ignored).
bool isThisProgram(const std::string& path);
