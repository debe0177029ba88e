// Splits a path into drive, directory, name and extension without ever
// cutting a double-byte character in two.
#pragma once
#include <string>
#include <string_view>

struct PathParts {
    std::string drive;      // at most "X:"
    std::string directory;  // up to and including the last '\' or '/'
    std::string name;
    std::string extension;  // from the last dot of the final component
};

// Reads at most 259 characters of `path`; each part holds at most 255.
PathParts splitPath(std::string_view path);
