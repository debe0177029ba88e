// What the system tells of the running processes and of the window in
// front, for deciding which program a link came from. Every answer may be
// "unknown": a process that has ended, one the user has no right to ask
// about, or a system that lacks the function.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

using ProcessId = std::uint32_t;  // 0: none

class ProcessQuery {
public:
    virtual ~ProcessQuery() = default;
    virtual ProcessId ownProcess() = 0;
    // Notes the window in front now (at start), for the two below.
    virtual void noteForeground() = 0;
    // The process owning the window noted in front; 0 when none was.
    virtual ProcessId foregroundProcess() = 0;
    // A frame host draws the frame around a window of another process (a
    // packaged app's): the process owning a child of the window noted in
    // front that is not that window's own; 0 when there is none.
    virtual ProcessId framedProcess() = 0;
    // The full path of the process's program in code page 932, '?' for
    // each character the code page lacks; false when it cannot be asked.
    virtual bool imagePath(ProcessId process, std::string& path) = 0;
    // The process that started `process` while it still runs (a later one
    // that took over its number is none); 0 otherwise. `name` receives the
    // file name of its program as the process list gives it, which needs
    // no right to the process itself.
    virtual ProcessId parentProcess(ProcessId process, std::string& name) = 0;
};

// The build's real implementation.
ProcessQuery& nativeProcessQuery();

}  // namespace platform
