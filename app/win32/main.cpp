// The program's entry: names derived from the executable's path, the one
// hidden main window, and the message loop.
#include <string>
#include <vector>

#include "app/handoff.h"
#include "app/input_queue.h"
#include "app/queued_routes.h"
#include "app/win32/command_line.h"
#include "app/win32/ui_win32.h"
#include "app/win32/window_proc.h"
#include "app/win32/window_state.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/unopenable_names.h"
#include "links/list_layout.h"
#include "links/wide_text.h"
#include "platform/platform.h"
#include "platform/win32/library_search.h"
#include "platform/win32/wide_names.h"
#include "platform/win32/win.h"

namespace {

std::string folderOf(const std::string& path) {
    const PathParts parts = splitPath(path);
    return parts.drive + parts.directory;
}

// False, after a box that names the folder, when no code page 932 name
// reaches the program's own file: every file it keeps beside itself would
// be looked for in a folder of a look-alike name, which may be another's.
bool deriveProgramNames() {
    wchar_t wide[cap::url] = {};
    GetModuleFileNameW(nullptr, wide, cap::url - 1);
    std::string path;
    if (!platform::windowsName(wide, path)) {
        platform::os().messageBox(nullptr,
                                  "次のフォルダは、名前にShift_JISに無い文字（?の所）があるため、"
                                  "ここからは起動できません。\n" + folderOf(path),
                                  "エラー", platform::mbOk | platform::mbIconError);
        return false;
    }
    // As the ANSI call filled its buffer of that size.
    text::assignCut(programPaths.programPath, unquoteSpaces(text::cut(path, cap::url)), cap::url);

    PathParts parts = splitPath(programPaths.programPath);
    programPaths.programName = parts.name;
    text::assignCut(programPaths.settingsFileName, parts.name + ".ini", cap::path);
    programPaths.instanceMutexName = instanceMutexNameFor(programPaths.programPath);
    return true;
}

bool registerMainClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MYICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = programPaths.programPath.c_str();
    return RegisterClassA(&wc) != 0;
}

// The order matters: the folder current at the start is noted first, so
// that relative names the user gives (on the command line, handed over, on
// the clipboard) keep meaning what they meant there; then the program's
// own folder becomes the current one, so that nothing the system looks for
// by a bare name (a program the shell starts, a document it opens) is ever
// taken from the start folder, often a downloads folder.
void leaveStartFolder() {
    std::vector<WCHAR> folder(32768);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size()) return;
    std::string start = wideToCp932(reinterpret_cast<const char16_t*>(folder.data()), WideText::path);
    if (start.empty()) {
        // A folder the code page cannot name: relative names can only be
        // found in it as the current folder, which then stays.
        clearUnopenableNames();
        return;
    }
    if (!endsWithBackslash(start)) start += '\\';
    programPaths.startFolder = start;
    const PathParts parts = splitPath(programPaths.programPath);
    const std::string own = parts.drive + parts.directory;
    if (!own.empty()) SetCurrentDirectoryA(own.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
    // Before anything can load a library: the folder a start from Explorer
    // began in is no place to take libraries from.
    platform::keepCurrentFolderOutOfLibrarySearch();
    instanceState.instance = instance;
    installWin32Ui();
    installBrowserPort(&bridgeBrowserPort());
    if (!deriveProgramNames()) return 0;
    leaveStartFolder();
    // Read wide, so that what the code page lacks reaches the conversion
    // rather than the system's '?' and look-alikes.
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 command line");
    runState.currentTarget = wideToCp932(
        reinterpret_cast<const char16_t*>(commandLineTail(GetCommandLineW())), WideText::input);

    if (!previous && !registerMainClass(instance)) return 0;
    const char* name = programPaths.programPath.c_str();
    // The creation step runs inside this call; a copy that has nothing to
    // do destroys the window there, and creation then fails. The list
    // window sizes it for its display when it opens.
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES | WS_EX_TOPMOST, name, name,
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  listWindowWidthAt96, listWindowHeightAt96, nullptr, nullptr,
                                  instance, nullptr);
    if (!window || !IsWindow(window)) return 0;
    runState.mainWindow = window;
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 0;
        // The program sets no timer with a procedure: a timer message that
        // names one is another program's, with an address to be called.
        if ((msg.message == WM_TIMER || msg.message == 0x0118 /* WM_SYSTIMER */) && msg.lParam != 0) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        // Input that arrived meanwhile, now that nothing else runs.
        if (queuedWorkWaiting()) runQueuedInput(window);
    }
    return static_cast<int>(msg.wParam);
}
