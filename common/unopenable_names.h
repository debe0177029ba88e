// Files and folders given to be opened whose names hold characters that
// code page 932 lacks: an ANSI program cannot open them by any name it can
// spell. The conversion of wide input records each one it leaves out; the
// route of input the user gave on purpose then shows one caution box.
#pragma once
#include <string>
#include <string_view>

struct UnopenableNames {
    int count = 0;
    std::string first;  // the first name, '?' where a character was lost
};

extern UnopenableNames unopenableNames;

void clearUnopenableNames();
// Records one name as the box will show it.
void noteUnopenableName(std::string_view shown);
