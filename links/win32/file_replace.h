// Writing a list file whole or not at all: the new text goes to a
// temporary file beside the old one, which is replaced only once every
// byte is on disk. A full disk, a share that goes away or a file another
// program holds leaves the old file as it was.
#pragma once
#include <string>

// Writes `bytes` as the file at `path` (a full path), replacing an existing
// file. False when the file could not be written; the old file, if there
// was one, then keeps its bytes and no temporary file is left behind. A
// read-only file, a folder or a device is never written.
bool replaceFileWith(const std::string& path, const std::string& bytes);
