// Entry point of TavrinCheck.exe, the Windows console build: Tavrin.ini is
// read beside the program unless --ini names one; words are read wide and
// converted as Tavrin converts its own command line. A console is written
// wide, so the text reads right in any console code page; a file or a pipe
// gets code page 932 bytes (UTF-8 with --utf8).
#include <algorithm>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/command_words.h"
#include "check/win32/system_view.h"
#include "common/split_path.h"
#include "common/unicode.h"
#include "platform/win32/code_page.h"
#include "platform/win32/library_search.h"
#include "platform/win32/wide_names.h"
#include "platform/win32/win.h"

namespace {

// The tool's folder by a name that reaches it; where none does, the name
// with '?' that the tool's messages then show as not found.
std::string ownFolder() {
    wchar_t wide[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, wide, MAX_PATH);
    std::string path;
    platform::windowsName(wide, path);
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

std::string utf8Of(std::u16string_view wide) {
    std::string out;
    for (std::size_t i = 0; i < wide.size();) unicode::appendUtf8(out, unicode::next(wide, i));
    return out;
}

void writeBytes(HANDLE stream, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 16));
        if (!WriteFile(stream, bytes.data() + done, chunk, &written, nullptr) || written == 0) return;
        done += written;
    }
}

// A console takes the text wide: the bytes would be read in the console's
// code page, which need not be 932 (Windows Terminal's is often 65001).
bool writeConsole(HANDLE stream, const std::u16string& wide) {
    DWORD mode = 0;
    if (!GetConsoleMode(stream, &mode)) return false;
    for (std::size_t done = 0; done < wide.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
        if (!WriteConsoleW(stream, platform::wideChars(wide) + done, chunk, &written, nullptr) || written == 0)
            return true;
        done += written;
    }
    return true;
}

void write(DWORD which, const std::string& text, const CheckOutput& output) {
    if (text.empty()) return;
    HANDLE stream = GetStdHandle(which);
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
    if (output.raw) return writeBytes(stream, text);
    const std::u16string wide = platform::wideFromCp932(text);
    if (writeConsole(stream, wide)) return;
    writeBytes(stream, output.utf8 ? utf8Of(wide) : text);
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
    write(STD_OUTPUT_HANDLE, output.out, output);
    write(STD_ERROR_HANDLE, output.err, output);
    return status;
}
