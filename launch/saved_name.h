// The name under which a downloaded URL is saved.
#pragma once
#include <string>
#include <string_view>

// The file name of a URL's path (name and extension), or "index.html"
// when it has no extension. Characters Windows does not allow in a file
// name (\ / : * ? " < > | and control characters) become '_', so that
// "a:b" cannot name a stream of file "a"; a device name such as "con.txt"
// gets a leading '_' so that the data goes into a file.
std::string savedFileName(std::string_view urlPath);

// `name` made short enough that `folder` (ending in a separator) followed
// by it holds at most 259 characters, with `suffix` (" (2)") put between
// its stem and its extension: the stem is cut, never the extension or the
// suffix, unless the folder leaves no room for them.
std::string fittedName(std::string_view folder, std::string_view name,
                       std::string_view suffix = {});

// `folder` with a trailing backslash, followed by the saved file name of
// `urlPath`, fitted into 259 characters.
std::string savedFilePath(const std::string& folder, std::string_view urlPath);

// `folder` with a trailing backslash.
std::string withSeparator(const std::string& folder);
