// Library loading by full path only, and a library search without the
// current folder. Both system functions are looked up at run time: the
// program also runs on systems that lack the newer one.
#include "platform/win32/library_search.h"

#include "platform/win32/wide_names.h"

namespace platform {
namespace {

// LOAD_LIBRARY_SEARCH_DEFAULT_DIRS: the program's folder, the system
// folder and folders added on purpose; never the current folder.
constexpr DWORD searchDefaultDirs = 0x00001000;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(const char*);

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isFullPath(const std::string& path) {
    if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
        return true;
    return path.size() >= 3 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
}

template <typename Fn>
Fn kernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

}  // namespace

HMODULE loadLibraryByFullPath(const std::string& path) {
    if (!isFullPath(path)) return nullptr;
    return LoadLibraryA(path.c_str());
}

HMODULE loadSystemLibrary(const char* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    std::string path;
    if (n == 0 || n >= MAX_PATH || !windowsName(folder, path)) return nullptr;
    return loadLibraryByFullPath(path + "\\" + name);
}

void keepCurrentFolderOutOfLibrarySearch() {
    auto setDefault = kernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
    if (setDefault && setDefault(searchDefaultDirs)) return;
    // Older systems: an empty folder takes the current folder out of the
    // search that LoadLibrary makes.
    if (auto setDirectory = kernelFunction<SetDllDirectoryFn>("SetDllDirectoryA")) setDirectory("");
}

}  // namespace platform
