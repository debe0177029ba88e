// Starting programs and documents through the shell (with or without a
// process handle to watch), the association look-ups, key states and pauses.
#include <memory>
#include <utility>

#include "common/capacity.h"
#include "platform/win32/answering_wait.h"
#include "platform/win32/code_page.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide_names.h"
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
    wchar_t buffer[MAX_PATH] = {};
    HINSTANCE result = FindExecutableW(wideChars(wideFromCp932(document)), nullptr, buffer);
    int code = static_cast<int>(reinterpret_cast<INT_PTR>(result));
    if (code <= 32) return code;
    // A program no code page 932 name reaches is as good as none: its
    // look-alike would start another program, or nothing.
    std::string name;
    if (!windowsName(buffer, name)) return SE_ERR_FNF;
    program = std::move(name);
    return code;
}

bool Win32Platform::schemeProgram(const std::string& scheme, std::string& program) {
    // The scheme is looked up as the class of its URLs; on systems that let
    // the user pick a browser this answers with the user's choice.
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const HRESULT result = AssocQueryStringW(static_cast<ASSOCF>(0), ASSOCSTR_EXECUTABLE,
                                             wideChars(wideFromCp932(scheme)), L"open", buffer, &size);
    std::string name;
    if (result != S_OK || buffer[0] == L'\0' || !windowsName(buffer, name)) return false;
    program = std::move(name);
    return true;
}

bool Win32Platform::longFileName(const std::string& path, std::string& name) {
    WIN32_FIND_DATAW data;
    win::ScopedFind found(FindFirstFileW(wideChars(wideFromCp932(path)), &data));
    if (!found.valid()) return false;
    std::string bytes;
    // A long name the code page cannot hold is given by its short one.
    if (!cp932FromWide(wideView(data.cFileName), bytes) &&
        !cp932FromWide(wideView(data.cAlternateFileName), bytes))
        return false;
    name = std::move(bytes);
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
