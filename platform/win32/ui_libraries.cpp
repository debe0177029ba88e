// Loading the common controls and the common dialogs on first use. Both
// stay loaded for the rest of the run, as imported libraries would.
#include "platform/win32/ui_libraries.h"

#include "platform/win32/library_search.h"

namespace platform {
namespace {

template <typename Fn>
Fn functionOf(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

HMODULE commonControls() {
    // By name: the manifest's dependency then gives its version (6) from
    // the side-by-side store, as it did for the imported library.
    static const HMODULE library = LoadLibraryA("comctl32.dll");
    return library;
}

HMODULE commonDialogs() {
    // From the system folder only, never from a folder searched before it.
    static const HMODULE library = loadSystemLibrary("comdlg32.dll");
    return library;
}

using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using FileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);

}  // namespace

bool initCommonControls(DWORD classes) {
    auto init = functionOf<InitCommonControlsExFn>(commonControls(), "InitCommonControlsEx");
    if (!init) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = classes;
    return init(&controls) != FALSE;
}

BOOL openFileDialog(OPENFILENAMEW& dialog) {
    auto open = functionOf<FileDialogFn>(commonDialogs(), "GetOpenFileNameW");
    return open ? open(&dialog) : FALSE;
}

BOOL saveFileDialog(OPENFILENAMEW& dialog) {
    auto save = functionOf<FileDialogFn>(commonDialogs(), "GetSaveFileNameW");
    return save ? save(&dialog) : FALSE;
}

}  // namespace platform
