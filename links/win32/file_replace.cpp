// Replacing a file through a temporary file in the same folder, so that the
// final step is a rename within one volume.
#include "links/win32/file_replace.h"

#include <algorithm>

#include "common/split_path.h"
#include "platform/win32/scoped.h"

namespace {

// True when nothing speaks against writing over `path`: it does not exist,
// or it is an ordinary file that may be written. The attributes of an
// existing file go to its replacement.
bool mayReplace(const std::string& path, DWORD& attributes) {
    attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        attributes = FILE_ATTRIBUTE_NORMAL;
        // A device name ("com1") has no attributes on some systems.
        win::ScopedHandle device(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
        return !device.valid() || GetFileType(device.get()) == FILE_TYPE_DISK;
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    win::ScopedHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    return !file.valid() || GetFileType(file.get()) == FILE_TYPE_DISK;
}

// Writes all of `bytes` to the file just made at `path` and has them put
// on disk; false on any failure.
bool writeAll(const std::string& path, const std::string& bytes) {
    win::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    // The rename must not come before the bytes it makes the list.
    return FlushFileBuffers(file.get()) != FALSE;
}

}  // namespace

bool replaceFileWith(const std::string& path, const std::string& bytes) {
    DWORD attributes = 0;
    if (!mayReplace(path, attributes)) return false;
    const PathParts parts = splitPath(path);
    const std::string folder = parts.drive + parts.directory;
    if (folder.empty()) return false;
    char temporary[MAX_PATH] = {};
    // Made empty under a name of its own ("~tvXXXX.tmp") in the same folder.
    if (GetTempFileNameA(folder.c_str(), "~tv", 0, temporary) == 0) return false;
    bool replaced = writeAll(temporary, bytes);
    if (replaced) {
        // A hidden list stays hidden; whether this takes does not matter.
        const DWORD kept = attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        SetFileAttributesA(temporary, kept ? kept : FILE_ATTRIBUTE_NORMAL);
        replaced = MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!replaced) {
        SetFileAttributesA(temporary, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(temporary);
    }
    return replaced;
}
