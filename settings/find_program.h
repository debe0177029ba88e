// Program look-up: a full name as written, any other in Tavrin's own
// folder, then in the "@path=" folders and those of PATH; each as written,
// then with ".exe" (the order in settings/find_program.cpp). Never in the
// folder Tavrin was started in, nor whatever folder is current.
#pragma once
#include <string>

struct ProgramLookup {
    std::string path;       // full path when found, else the name as given
    bool programFound = false;
};

ProgramLookup findProgram(const std::string& name, int tryExe);
