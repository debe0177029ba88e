// Part files of downloads on POSIX systems, for the platform layer there.
#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {

// Creates `path` (a native path, '/' separators) as a new file that is
// removed when the object goes unless it was kept. There is no handle that
// deletes its file here: a killed process leaves it behind.
std::shared_ptr<PartFile> createPosixPartFile(const std::string& path, const std::string& nativePath,
                                              bool& nameTaken);

// Backslashes (at character boundaries) as '/'.
std::string nativePath(const std::string& path);

}  // namespace platform
