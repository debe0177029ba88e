// Program look-up: as written, with ".exe", in the "@path=" list, then on
// the system search path.
#include "settings/find_program.h"

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

}  // namespace

ProgramLookup findProgram(const std::string& name, int tryExe) {
    platform::Platform& os = platform::os();
    const std::string withExe = name + ".exe";

    if (os.fileExists(name)) return foundAsWritten(name);
    if (tryExe == 1 && os.fileExists(withExe)) return foundAsWritten(withExe);

    std::string result;
    if (settings.searchPathSet == 1) {
        if (os.searchPath(&settings.searchPathList, name, result)) return found(result);
        if (tryExe == 1 && os.searchPath(&settings.searchPathList, withExe, result))
            return found(result);
    }
    if (os.searchPath(nullptr, name, result)) return found(result);
    if (tryExe == 1 && os.searchPath(nullptr, withExe, result)) return found(result);
    return ProgramLookup{name, false};
}
