// Small path-text operations in the manner of the shell's light-weight
// path functions, done on CP932 text without the shell.
#pragma once
#include <string>
#include <string_view>

// Wraps the text in double quotes when it contains a space.
std::string quoteSpaces(std::string_view path);
// Removes one pair of enclosing double quotes (a text that starts with a
// quote and ends with one).
std::string unquoteSpaces(std::string_view path);
// Removes leading and trailing spaces.
std::string removeBlanks(std::string_view path);
// Resolves "." and ".." components between backslashes.
std::string canonicalizePath(std::string_view path);
