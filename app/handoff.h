// What a second copy hands to the running copy: names derived from the
// program path, and the choice of payload and transfer code.
#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

// "<programPath>_Mark" with every '/' and '\' of the path part as '-'.
std::string instanceMutexNameFor(std::string_view programPath);

unsigned transferCodeFor(int ctrl, int clipboard, int linkMode);

// The digits of a received transfer code: 100 x ctrl + 10 x clipboard +
// linkMode.
struct TransferCode {
    int ctrl = 0;       // 0 or 1
    int clipboard = 0;  // 0 or 1: the payload's line ends separate URLs
    int linkMode = 0;   // 0, 1 or 2
};
// False for a code that no copy of the program sends (a digit out of its
// range): such a hand-off comes from some other program and is ignored.
bool decodeTransferCode(unsigned code, TransferCode& out);

struct HandOff {
    bool send = false;      // false: end without contacting the first copy
    unsigned transferCode = 0;
    std::string payload;    // at most 30,159 characters
};

// Steps of a second copy after its [system] settings were loaded: empty
// command line, base-only switches, payload choice, transfer code.
HandOff prepareHandOff(platform::WindowHandle window, std::string_view commandLine);
