// Starting programs and documents through the shell, the association
// look-up, key states and pauses.
#include "common/capacity.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {
const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

int Win32Platform::shellExecute(WindowHandle owner, const std::string& file,
                                const std::string& parameters, const std::string& directory) {
    HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), nullptr, file.c_str(),
                                     orNull(parameters), orNull(directory), SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

int Win32Platform::findExecutable(const std::string& document, std::string& program) {
    char buffer[MAX_PATH] = {};
    HINSTANCE result = FindExecutableA(document.c_str(), nullptr, buffer);
    const int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    if (code > 32) program = buffer;
    return code;
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
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace platform
