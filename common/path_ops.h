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
// True when the text ends in a backslash that is a character of its own
// (the trail byte of a double-byte character such as "表" is 0x5C too).
bool endsWithBackslash(std::string_view path);
// The text without one such trailing backslash, or one trailing slash (a
// folder separator to the system as well, and the only one natively).
std::string withoutTrailingBackslash(std::string_view path);
// Resolves "." and ".." components between backslashes.
std::string canonicalizePath(std::string_view path);
// True when the path means something only beside some folder: it starts
// neither with a drive ("C:") nor with a separator ("\\server", "\x",
// "/x").
bool isRelativePath(std::string_view path);
// Each item of a ";"-separated folder list that is relative, taken beside
// `base` (a folder with its trailing separator); empty items dropped.
std::string anchoredFolderList(std::string_view list, const std::string& base);
