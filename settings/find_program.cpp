// Program look-up. The folder Tavrin was started in, or whatever folder is
// current later, never counts: started from Explorer it is the folder of
// the file opened (often a downloads folder), and a program planted there
// under a name the settings use must not run. In this order:
//   1. a name with a drive or a leading separator: as written, then with
//      ".exe";
//   2. any other name (without a folder, or with one relative to the
//      program): Tavrin's own folder, as written, then with ".exe";
//   3. the "@path=" folders (a relative one taken beside Tavrin), as
//      written, then with ".exe";
//   4. the folders of PATH (only those named in full), as written, then
//      with ".exe".
#include "settings/find_program.h"

#include "common/app_state.h"
#include "common/path_ops.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace {

ProgramLookup found(std::string path) { return ProgramLookup{std::move(path), true}; }

// A name that exists as given is reported by its full path when the system
// can name one, else as written.
ProgramLookup foundAsWritten(const std::string& name) {
    std::string full;
    if (platform::os().fullPathName(name, full)) return found(full);
    return found(name);
}

// The file, or with tryExe the file with ".exe", at exactly `path`.
bool existsAt(const std::string& path, int tryExe, ProgramLookup& out) {
    platform::Platform& os = platform::os();
    if (os.fileExists(path)) {
        out = foundAsWritten(path);
        return true;
    }
    if (tryExe == 1 && os.fileExists(path + ".exe")) {
        out = foundAsWritten(path + ".exe");
        return true;
    }
    return false;
}

// The name, or with tryExe the name with ".exe", in one of the folders
// (null: those of PATH).
bool foundIn(const std::string* folders, const std::string& name, int tryExe, ProgramLookup& out) {
    platform::Platform& os = platform::os();
    std::string result;
    if (os.searchPath(folders, name, result) ||
        (tryExe == 1 && os.searchPath(folders, name + ".exe", result))) {
        out = found(result);
        return true;
    }
    return false;
}

}  // namespace

ProgramLookup findProgram(const std::string& name, int tryExe) {
    ProgramLookup result{name, false};
    if (name.empty()) return result;
    if (!isRelativePath(name)) {
        existsAt(name, tryExe, result);
        return result;
    }
    const std::string& own = programPaths.programFolder;
    if (!own.empty() && existsAt(own + name, tryExe, result)) return result;
    if (settings.searchPathSet == 1) {
        const std::string folders = anchoredFolderList(settings.searchPathList, own);
        if (!folders.empty() && foundIn(&folders, name, tryExe, result)) return result;
    }
    if (foundIn(nullptr, name, tryExe, result)) return result;
    return ProgramLookup{name, false};
}
