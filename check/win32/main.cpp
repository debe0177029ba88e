// Entry point of TavrinCheck.exe, the Windows console build: Tavrin.ini is
// read beside the program unless --ini names one; words are read wide and
// converted as Tavrin converts its own command line; output leaves in the
// system's code page (932 on the systems Tavrin runs on).
#include <cstdio>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/command_words.h"
#include "check/win32/system_view.h"
#include "common/split_path.h"
#include "platform/win32/library_search.h"
#include "platform/win32/win.h"

namespace {

std::string ownFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const PathParts parts = splitPath(path);
    return parts.drive + parts.directory;
}

std::vector<std::string> words() {
    static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 arguments");
    std::vector<std::string> out;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return out;
    for (int i = 1; i < count; ++i) out.push_back(checkWord(reinterpret_cast<const char16_t*>(arguments[i])));
    LocalFree(arguments);
    return out;
}

void write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

int main() {
    // The tool runs in whatever folder the console is in; no library comes
    // from there.
    platform::keepCurrentFolderOutOfLibrarySearch();
    CheckEnvironment environment;
    environment.ownFolder = ownFolder();
    environment.windows = true;
    const auto system = windowsSystemView();
    environment.system = system.get();
    CheckOutput output;
    const int status = runCheck(words(), environment, output);
    write(stdout, output.out);
    write(stderr, output.err);
    return status;
}
