// Files and folders through the ANSI Win32 calls: existence and attribute
// tests, reading with read sharing, folder creation, listing and deletion
// by the shell.
#include <algorithm>

#include "platform/win32/code_page.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {

bool Win32Platform::isDirectory(const std::string& path) {
    // An empty text would be taken as the current folder.
    return !path.empty() && PathIsDirectoryA(path.c_str()) != FALSE;
}

bool Win32Platform::fileExists(const std::string& path) {
    return !path.empty() && PathFileExistsA(path.c_str()) != FALSE;
}

bool Win32Platform::isHidden(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

FileStamp Win32Platform::fileStamp(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

bool Win32Platform::readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                             bool createIfMissing) {
    out.clear();
    win::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       createIfMissing ? OPEN_ALWAYS : OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    // A device name (COM1, AUX, NUL, in any folder and with any extension)
    // opens the device, not a file: a read from it waits for input that may
    // never come. Only files on a disk are read.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    // One allocation of the right size: a page of many megabytes must not
    // pass through a buffer twice its size.
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0)
        out.reserve(static_cast<std::size_t>(
            std::min<unsigned long long>(maxBytes, static_cast<unsigned long long>(size.QuadPart))));
    char buffer[65536];
    while (out.size() < maxBytes) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - out.size()));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, want, &got, nullptr) || got == 0) break;
        out.append(buffer, got);
    }
    return true;
}

bool Win32Platform::createDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::listFolder(const std::string& folderWithSeparator,
                               std::vector<FolderEntry>& out) {
    out.clear();
    // Listed wide: the ANSI listing gives a name with a character code
    // page 932 lacks as '?' (or a look-alike), which opens nothing. Such an
    // entry is opened by its short name instead.
    const std::u16string pattern = wideFromCp932(folderWithSeparator + "*.*");
    if (pattern.empty()) return false;
    WIN32_FIND_DATAW found;
    win::ScopedFind search(FindFirstFileW(wideChars(pattern), &found));
    if (!search.valid()) {
        // A listable folder with no entries at all (a drive root) is empty,
        // not a failure.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
        FolderEntry entry;
        if (!cp932FromWide(wideView(found.cFileName), entry.name) &&
            cp932FromWide(wideView(found.cAlternateFileName), entry.name))
            entry.shownName = cp932Shown(wideView(found.cFileName));
        // An empty name would stand for the folder itself.
        if (entry.name.empty()) continue;
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out.push_back(std::move(entry));
    } while (FindNextFileW(search.get(), &found));
    return true;
}

bool Win32Platform::deleteItems(WindowHandle owner, const std::string& list) {
    // The shell reads up to a double NUL; add one whether or not the caller
    // already ended the list with it.
    std::string from = list;
    from.append(2, '\0');
    if (from[0] == '\0') return false;  // an empty list would name nothing
    SHFILEOPSTRUCTA op{};
    op.hwnd = static_cast<HWND>(owner);
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.pTo = nullptr;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace platform
