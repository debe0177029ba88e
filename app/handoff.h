// What a second copy hands to the running copy: names derived from the
// program path, and the choice of payload and transfer code.
#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

// "<programPath>_Mark" with every '/' and '\' of the path part as '-'.
std::string instanceMutexNameFor(std::string_view programPath);

unsigned transferCodeFor(int ctrl, int clipboard, int linkMode);

struct HandOff {
    bool send = false;      // false: end without contacting the first copy
    unsigned transferCode = 0;
    std::string payload;    // at most 30,159 characters
};

// Steps of a second copy after its [system] settings were loaded: empty
// command line, base-only switches, payload choice, transfer code.
HandOff prepareHandOff(platform::WindowHandle window, std::string_view commandLine);
