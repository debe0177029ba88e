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

// `folder` with a trailing backslash, followed by the saved file name of
// `urlPath`; cut to 259 characters.
std::string savedFilePath(const std::string& folder, std::string_view urlPath);
