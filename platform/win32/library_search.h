// Where the program's outside libraries may come from. Windows looks for a
// library named without a folder in the current folder too, and that is
// wherever the user last browsed in a file dialog or wherever a start from
// Explorer began: a planted "nkf32.dll" there would run inside the program.
#pragma once
#include <string>

#include "platform/win32/win.h"

namespace platform {

// The library at `path`, which must be a full path ("C:\..." or
// "\\server\..."); null when it is missing or the path is not full.
HMODULE loadLibraryByFullPath(const std::string& path);

// The system's own library `name` ("comdlg32.dll"), from the system folder
// only, never from a folder searched before it; null when it is missing.
HMODULE loadSystemLibrary(const char* name);

// Takes the current folder out of the library search for the rest of the
// run (SetDefaultDllDirectories where the system has it, else
// SetDllDirectoryA with an empty folder). Called once at start.
void keepCurrentFolderOutOfLibrarySearch();

}  // namespace platform
