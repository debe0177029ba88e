// Writing a list file whole or not at all, as Windows replaces documents:
// the new text goes to a temporary file beside the old one, which
// ReplaceFile puts in the old one's place once every byte is on disk, with
// the old file's permissions, owner, attributes, creation time and streams
// and the archive bit set. A full disk, a share that goes away or a file
// another program holds leaves the old file as it was.
#pragma once
#include <string>

#include "links/replace_choice.h"

// Writes `bytes` as the file at `path` (a full path, code page 932),
// replacing an existing file the way links/replace_choice chooses. On any
// result but `written` the old file, if there was one, keeps its bytes and
// no temporary file is left behind. A read-only file, a folder or a device
// is never written.
SaveResult replaceFileWith(const std::string& path, const std::string& bytes);
