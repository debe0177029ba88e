// Program look-up: as written, with ".exe", in the "@path=" list, then on
// the system search path.
#pragma once
#include <string>

struct ProgramLookup {
    std::string path;       // full path when found, else the name as given
    bool programFound = false;
};

ProgramLookup findProgram(const std::string& name, int tryExe);
