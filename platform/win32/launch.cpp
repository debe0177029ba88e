// Starting programs and documents through the shell (with or without a
// process handle to watch), the association look-ups, key states and pauses.
#include <memory>

#include "common/capacity.h"
#include "platform/win32/answering_wait.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {
const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

class Win32Process final : public Process {
public:
    explicit Win32Process(HANDLE process) : process_(process) {}
    // A start that gave no handle (a document opened by some server) can
    // never be seen to end.
    bool hasEnded() override {
        return process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
    }

private:
    win::ScopedHandle process_;
};
}  // namespace

int Win32Platform::shellExecute(WindowHandle owner, const std::string& file,
                                const std::string& parameters, const std::string& directory) {
    HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), nullptr, file.c_str(),
                                     orNull(parameters), orNull(directory), SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

std::unique_ptr<Process> Win32Platform::startProcess(const std::string& program,
                                                     const std::string& parameters) {
    if (program.empty()) return nullptr;
    // No dialog of the shell's own: the caller reports a failed start.
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NO_CONSOLE | SEE_MASK_FLAG_NO_UI;
    info.lpFile = program.c_str();
    info.lpParameters = orNull(parameters);
    info.nShow = SW_SHOW;
    if (!ShellExecuteExA(&info)) return nullptr;
    return std::make_unique<Win32Process>(info.hProcess);
}

int Win32Platform::findExecutable(const std::string& document, std::string& program) {
    char buffer[MAX_PATH] = {};
    HINSTANCE result = FindExecutableA(document.c_str(), nullptr, buffer);
    const int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    if (code > 32) program = buffer;
    return code;
}

bool Win32Platform::schemeProgram(const std::string& scheme, std::string& program) {
    // The scheme is looked up as the class of its URLs; on systems that let
    // the user pick a browser this answers with the user's choice.
    char buffer[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const HRESULT result = AssocQueryStringA(static_cast<ASSOCF>(0), ASSOCSTR_EXECUTABLE,
                                             scheme.c_str(), "open", buffer, &size);
    if (result != S_OK || buffer[0] == '\0') return false;
    program = buffer;
    return true;
}

bool Win32Platform::longFileName(const std::string& path, std::string& name) {
    WIN32_FIND_DATAA data;
    win::ScopedFind found(FindFirstFileA(path.c_str(), &data));
    if (!found.valid()) return false;
    name = data.cFileName;
    return true;
}

bool Win32Platform::isKeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

bool Win32Platform::isKeyPhysicallyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

void Win32Platform::sleep(int milliseconds) {
    // Other programs are answered meanwhile: a pause between starts or a
    // loader's poll must not hold up a second copy or a DDE client.
    if (milliseconds > 0) win::waitAnswering(nullptr, static_cast<DWORD>(milliseconds));
}

}  // namespace platform
