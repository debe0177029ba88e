// The program of an open command as the registry holds it ("\"C:\x\a.exe\"
// \"%1\"", or unquoted with blanks in its path), taken as CreateProcess
// takes it.
#pragma once
#include <string>

#include "check/system_view.h"

// The quoted first word; unquoted, the shortest run of words up to a blank
// that names an existing file, else the first word; a name without a
// folder looked for on the search path. Empty for an empty command.
std::string commandProgram(SystemView& system, const std::string& command);
