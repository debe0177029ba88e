// What a second copy hands to the running copy: names derived from the
// program path, and the choice of payload and transfer code.
#pragma once
#include <string>
#include <string_view>

#include "common/source_program.h"
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
    SourceProgram source;   // the program this copy was started from
};

// The record's data (what lpData points to, cbData bytes): the payload
// and its terminating zero, as every copy of the program has sent it; then
// fields "key=value", each ended by a zero. A running copy that knows no
// fields reads the payload up to its zero and never sees them. The one
// field: "source=" and the source program's full path (or, when only its
// name is known, the name).
std::string handOffRecordData(const HandOff& handOff);

// What a running copy takes from a record's data: the payload (up to the
// first zero, or all of it without one) and the fields it knows. Fields it
// does not know, and bytes after the payload that are no field, are passed
// over.
struct HandOffRecord {
    std::string_view payload;
    SourceProgram source;  // none unless the sender told it
};
HandOffRecord readHandOffRecord(std::string_view data);

// Steps of a second copy after its [system] settings were loaded: empty
// command line, base-only switches, payload choice, transfer code.
HandOff prepareHandOff(platform::WindowHandle window, std::string_view commandLine);
