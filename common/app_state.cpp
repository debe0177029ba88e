// The process-wide records of the running copy.
#include "common/app_state.h"

#include "common/path_ops.h"

ProgramPaths programPaths;
RunState runState;
StartOptions startOptions;
LinkSource linkSource;

std::string programFolderFile(const std::string& name) { return programPaths.programFolder + name; }

const SourceProgram& startSource() {
    if (auto decide = runState.startSourceDecider) {
        runState.startSourceDecider = nullptr;
        runState.startSourceProgram = decide();
    }
    return runState.startSourceProgram;
}

std::string besideStartFolder(const std::string& path) {
    if (programPaths.startFolder.empty() || path.empty() || !isRelativePath(path)) return path;
    return programPaths.startFolder + path;
}
