// The "@path=" search list: extra folders for programs named without a path.
#pragma once
#include <string>
#include <string_view>

// The "@path=" option: the list from the file the value names, when it
// names an existing file, else the value itself.
void setSearchPath(std::string_view value);
// Reads the list from a file: the rest of the line after its first
// "path=", or the whole text without TAB, CR and LF.
void readSearchListFile(const std::string& path);
