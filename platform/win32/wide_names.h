// Names that Windows hands back (the program's own path, dialogs, special
// folders, searches, found files) as code page 932 names that open the
// very same file.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// The code page 932 form of a path Windows gave. Where the code page holds
// every character, its own bytes; else each part (folder or file name) it
// cannot hold is replaced by that part's short (8.3) name, which names the
// same file. False where such a part has no short name (the volume makes
// none, or the file does not exist yet): no name the program can spell
// reaches it. `out` is then the path to show, '?' for each character the
// code page lacks, and it is recorded in unopenableNames for the box that
// says so.
bool windowsName(std::u16string_view path, std::string& out);

// windowsName of a zero-terminated buffer that Windows filled.
bool windowsName(const wchar_t* path, std::string& out);

}  // namespace platform
