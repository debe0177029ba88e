// Downloading through the external loader program of "@loader=".
#pragma once
#include <string>

// Starts the loader for `url` and waits until it has saved the file under
// `folder` (with "@timeout=" polling on: until the file exists and is no
// longer hidden; otherwise: until the loader has ended and left the file).
// A file of that name from before the start counts only once rewritten.
// Returns the saved path, or the cancel marker after a failed start, a
// loader that ended without the file, or the time limit; each is reported
// to the user first. A loader still running at the time limit is left to
// run.
std::string downloadWithLoader(const std::string& url, const std::string& folder);
