// Replacing a list file through a temporary file in the same folder, with
// the wide calls throughout. The temporary file's path may pass the usual
// limit of 259 characters where the list's own does not, so the calls take
// the long form ("\\?\C:\..."), which has no such limit.
#include "links/win32/file_replace.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/scoped.h"
#include "platform/win32/widen.h"
#include "platform/win32/win.h"

namespace {

// Names tried for the temporary file before giving up.
constexpr unsigned temporaryAttempts = 64;

bool widen(const std::string& text, std::wstring& out) {
    out = win::widen(text);
    return !out.empty();
}

bool startsWith(const std::wstring& text, const wchar_t* head) {
    return text.compare(0, std::wcslen(head), head) == 0;
}

bool fullPath(const std::wstring& path, std::wstring& out) {
    if (startsWith(path, L"\\\\?\\")) {
        out = path;
        return true;
    }
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return false;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed) return false;
    full.resize(length);
    // An existing file named by its short name (the program reaches names
    // the code page lacks that way) is replaced under its own long name: a
    // file moved to the short name would take it as its only name.
    const DWORD longNeeded = GetLongPathNameW(full.c_str(), nullptr, 0);
    if (longNeeded != 0) {
        std::wstring longName(longNeeded, L'\0');
        const DWORD longLength = GetLongPathNameW(full.c_str(), &longName[0], longNeeded);
        if (longLength != 0 && longLength < longNeeded) {
            longName.resize(longLength);
            full = longName;
        }
    }
    out = full;
    return true;
}

// The long form of a full path: "\\?\C:\..." or "\\?\UNC\server\...". The
// list's own path keeps its usual form, in which a device name ("com1")
// still names the device and is refused as such.
std::wstring longForm(const std::wstring& full) {
    if (startsWith(full, L"\\\\?\\")) return full;
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The path of the file an open handle names, where the system can tell it
// (the file a symbolic link leads to).
bool finalPath(HANDLE file, std::wstring& out) {
    using Query = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (!query) return false;
    std::wstring buffer(32768, L'\0');
    const DWORD length = query(file, &buffer[0], 32768, 0);
    if (length == 0 || length >= 32768) return false;
    out = buffer.substr(0, length);
    return startsWith(out, L"\\\\?\\");
}

// The list's file as it stands: what it is, and the full path to write
// (that of the file a symbolic link there leads to).
struct Target {
    ReplaceTarget facts;
    std::wstring path;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    FILETIME created{};
    bool haveCreated = false;
};

bool examine(const std::wstring& given, Target& out) {
    const DWORD attributes = GetFileAttributesW(given.c_str());
    // Opened without access to its data, so that a file another program
    // holds can still be looked at; following a symbolic link.
    win::ScopedHandle file(CreateFileW(given.c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (attributes == INVALID_FILE_ATTRIBUTES &&
            (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) {
            return fullPath(given, out.path);  // a new file
        }
        out.facts.exists = true;
        out.facts.plainFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        out.facts.readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        out.attributes = attributes;
        return fullPath(given, out.path);
    }
    out.facts.exists = true;
    // A device name ("com1", in any folder) opens the device.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info))
        return fullPath(given, out.path);
    out.attributes = info.dwFileAttributes;
    out.facts.plainFile = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    out.facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    out.facts.links = info.nNumberOfLinks;
    out.created = info.ftCreationTime;
    out.haveCreated = true;
    // A symbolic link stays a link: the file it leads to is written.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        finalPath(file.get(), out.path))
        return true;
    return fullPath(given, out.path);
}

// Where the temporary file goes: the list's folder, in the long form.
std::wstring folderOf(const std::wstring& path) {
    const std::wstring full = longForm(path);
    const std::size_t at = full.find_last_of(L'\\');
    return at == std::wstring::npos ? std::wstring() : full.substr(0, at + 1);
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    // Nothing takes the list's place before its bytes are on disk.
    return FlushFileBuffers(file) != FALSE;
}

// A temporary file beside the list, made under a name of its own (the
// first of the names tried that is free) and holding `bytes`.
class Temporary {
public:
    Temporary() = default;
    ~Temporary() { discard(); }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // False when no file could be made; `written` false when it could,
    // but the bytes did not all go in (it is gone again then).
    bool make(const std::wstring& folder, const std::string& bytes, bool& written) {
        written = false;
        const unsigned base = GetTickCount() ^ (GetCurrentProcessId() << 12);
        for (unsigned attempt = 0; attempt < temporaryAttempts; ++attempt) {
            const std::string name = temporaryFileName(base + attempt * 0x9E37u);
            const std::wstring path = folder + std::wstring(name.begin(), name.end());
            win::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.valid()) {
                if (GetLastError() == ERROR_FILE_EXISTS) continue;
                return false;
            }
            path_ = path;
            written = writeAll(file.get(), bytes);
            file.reset();
            if (!written) discard();
            return true;
        }
        return false;
    }
    const std::wstring& path() const { return path_; }
    // The file has taken the list's name: nothing to clean up.
    void taken() { path_.clear(); }
    void discard() {
        if (path_.empty()) return;
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path_.c_str());
        path_.clear();
    }

private:
    std::wstring path_;
};

// Backups take what changed.
void markArchive(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_ARCHIVE))
        SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
}

// Where ReplaceFile cannot act (FAT, some shares): the temporary file
// moved over the old one, with what of it can be carried over.
bool moveOver(Temporary& temporary, const Target& target) {
    const DWORD kept = target.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    SetFileAttributesW(temporary.path().c_str(), kept | FILE_ATTRIBUTE_ARCHIVE);
    if (target.haveCreated) {
        win::ScopedHandle file(CreateFileW(temporary.path().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        if (file.valid()) SetFileTime(file.get(), &target.created, nullptr, nullptr);
    }
    if (MoveFileExW(temporary.path().c_str(), target.path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temporary.taken();
        return true;
    }
    // A ReplaceFile that failed half way may have taken the old file away:
    // the temporary file then holds the only copy of the list and stays.
    if (GetFileAttributesW(target.path.c_str()) == INVALID_FILE_ATTRIBUTES) temporary.taken();
    return false;
}

SaveResult replace(const Target& target, const std::string& bytes) {
    Temporary temporary;
    bool written = false;
    if (!temporary.make(folderOf(target.path), bytes, written)) return SaveResult::noTemporary;
    if (!written) return SaveResult::writeFailed;
    if (ReplaceFileW(target.path.c_str(), temporary.path().c_str(), nullptr, REPLACEFILE_WRITE_THROUGH,
                     nullptr, nullptr)) {
        temporary.taken();
        markArchive(target.path);
        return SaveResult::written;
    }
    return moveOver(temporary, target) ? SaveResult::written : SaveResult::replaceFailed;
}

SaveResult create(const Target& target, const std::string& bytes) {
    Temporary temporary;
    bool written = false;
    if (!temporary.make(folderOf(target.path), bytes, written)) return SaveResult::noTemporary;
    if (!written) return SaveResult::writeFailed;
    // Not over a file that appeared meanwhile.
    if (!MoveFileExW(temporary.path().c_str(), target.path.c_str(), MOVEFILE_WRITE_THROUGH))
        return SaveResult::replaceFailed;
    temporary.taken();
    markArchive(target.path);
    return SaveResult::written;
}

bool readAll(HANDLE file, std::string& out) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > (256 << 20)) return false;
    out.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1 << 20));
        if (!ReadFile(file, &out[done], chunk, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

bool writeFromStart(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && writeAll(file, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// A file of several names: written anew in place, so that each name sees
// the new list. A copy beside it first shows that the text fits on the
// disk; should the writing fail after all, the old text goes back.
SaveResult rewriteInPlace(const Target& target, const std::string& bytes) {
    {
        Temporary staging;
        bool written = false;
        if (!staging.make(folderOf(target.path), bytes, written)) return SaveResult::noTemporary;
        if (!written) return SaveResult::writeFailed;
    }
    win::ScopedHandle file(CreateFileW(target.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return SaveResult::replaceFailed;
    std::string old;
    if (!readAll(file.get(), old)) return SaveResult::replaceFailed;
    if (!writeFromStart(file.get(), bytes)) {
        writeFromStart(file.get(), old);
        return SaveResult::writeFailed;
    }
    file.reset();
    markArchive(target.path);
    return SaveResult::written;
}

}  // namespace

SaveResult replaceFileWith(const std::string& path, const std::string& bytes) {
    std::wstring given;
    Target target;
    if (!widen(path, given) || !examine(given, target)) return SaveResult::notWritable;
    switch (chooseReplaceWay(target.facts)) {
        case ReplaceWay::create: return create(target, bytes);
        case ReplaceWay::replace: return replace(target, bytes);
        case ReplaceWay::rewriteInPlace: return rewriteInPlace(target, bytes);
        case ReplaceWay::refuse: break;
    }
    return SaveResult::notWritable;
}
