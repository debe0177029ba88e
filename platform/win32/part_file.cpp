// The file a download is written into, owned by its handle. It is opened
// for deletion and marked to be deleted when its handle closes, so that a
// failed, cancelled or abandoned download, and one whose program was
// killed or crashed, leaves nothing behind, and nobody has to delete it by
// name (which, while another thread still held it, could hit a new file of
// the same name). A whole download clears the mark and is renamed through
// the same handle, so it is never without an owner on the way.
//
// The mark and the rename are the NT calls behind DeleteFile and MoveFile,
// which every Windows since NT has; the Win32 forms of them that take a
// handle came only with Vista.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/widen.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

using SetInformationFile = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                             FILE_INFORMATION_CLASS);

constexpr NTSTATUS statusObjectNameCollision = static_cast<NTSTATUS>(0xC0000035);
constexpr NTSTATUS statusAccessDenied = static_cast<NTSTATUS>(0xC0000022);
constexpr NTSTATUS statusSharingViolation = static_cast<NTSTATUS>(0xC0000043);
constexpr NTSTATUS statusDeletePending = static_cast<NTSTATUS>(0xC0000056);
constexpr NTSTATUS statusFileIsADirectory = static_cast<NTSTATUS>(0xC00000BA);
constexpr NTSTATUS statusCannotDelete = static_cast<NTSTATUS>(0xC0000121);
constexpr NTSTATUS statusNotSupported = static_cast<NTSTATUS>(0xC00000BB);
constexpr NTSTATUS statusInvalidParameter = static_cast<NTSTATUS>(0xC000000D);
constexpr NTSTATUS statusInvalidDeviceRequest = static_cast<NTSTATUS>(0xC0000010);
constexpr NTSTATUS statusNotImplemented = static_cast<NTSTATUS>(0xC0000002);
// FILE_INFORMATION_CLASS values the header does not name.
constexpr int fileDispositionInformation = 13;

SetInformationFile setInformationFile() {
    static const SetInformationFile call = reinterpret_cast<SetInformationFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtSetInformationFile")));
    return call;
}

// Whether the file goes when its last handle closes.
bool setDeleteOnClose(HANDLE file, bool deleteIt) {
    const SetInformationFile call = setInformationFile();
    if (!call) return false;
    FILE_DISPOSITION_INFORMATION disposition{};
    disposition.DoDeleteFile = deleteIt ? TRUE : FALSE;
    IO_STATUS_BLOCK io{};
    return call(file, &io, &disposition, sizeof disposition,
                static_cast<FILE_INFORMATION_CLASS>(fileDispositionInformation)) >= 0;
}

// The NT form of a full path: \??\C:\dir\name, \??\UNC\server\share\name.
std::wstring ntPath(const std::wstring& path) {
    const DWORD units = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (units == 0) return std::wstring();
    std::wstring full(units, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), units, &full[0], nullptr);
    if (length == 0 || length >= units) return std::wstring();
    full.resize(length);
    if (full.compare(0, 4, L"\\\\?\\") == 0) return L"\\??\\" + full.substr(4);
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// Renames the open file; the NT status.
NTSTATUS renameOpenFile(HANDLE file, const std::wstring& to, bool replaceExisting) {
    const SetInformationFile call = setInformationFile();
    const std::wstring target = ntPath(to);
    if (!call || target.empty()) return statusNotSupported;
    const std::size_t bytes = target.size() * sizeof(WCHAR);
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFORMATION) + bytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    info->ReplaceIfExists = replaceExisting ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<ULONG>(bytes);
    std::copy(target.begin(), target.end(), info->FileName);
    IO_STATUS_BLOCK io{};
    return call(file, &io, info, static_cast<ULONG>(buffer.size()), FileRenameInformation);
}

// A name that another file, a folder, or a file on its way out holds.
bool nameInUse(NTSTATUS status) {
    switch (status) {
    case statusObjectNameCollision:
    case statusAccessDenied:
    case statusSharingViolation:
    case statusDeletePending:
    case statusFileIsADirectory:
    case statusCannotDelete:
        return true;
    default:
        return false;
    }
}

// A file system (or redirector) that cannot rename an open file.
bool renameUnsupported(NTSTATUS status) {
    return status == statusNotSupported || status == statusInvalidParameter ||
           status == statusInvalidDeviceRequest || status == statusNotImplemented;
}

bool nameInUseError(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
           error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

DownloadOutcome writeOutcome(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return DownloadOutcome::diskFull;
    case ERROR_FILE_TOO_LARGE:
        return DownloadOutcome::fileTooLarge;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
        return DownloadOutcome::writeDenied;
    default:
        return DownloadOutcome::writeFailed;
    }
}

class Win32PartFile final : public PartFile {
public:
    Win32PartFile(std::string path, std::wstring widePath, HANDLE file)
        : path_(std::move(path)), widePath_(std::move(widePath)), file_(file),
          deletesItself_(setDeleteOnClose(file, true)) {}
    ~Win32PartFile() override {
        file_.reset();
        // Only where the system could not be asked to do it: on this
        // object's own way out, never from elsewhere.
        if (!kept_ && !deletesItself_) DeleteFileW(widePath_.c_str());
    }
    Win32PartFile(const Win32PartFile&) = delete;
    Win32PartFile& operator=(const Win32PartFile&) = delete;

    const std::string& path() const override { return path_; }

    DownloadOutcome write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data, chunk, &written, nullptr)) return writeOutcome(GetLastError());
            // A disk file takes all or fails; no progress means no room.
            if (written == 0) return DownloadOutcome::diskFull;
            data += written;
            size -= written;
        }
        return DownloadOutcome::ok;
    }

    Keep keepAs(const std::string& to, bool replaceExisting) override {
        if (kept_) return Keep::failed;
        const std::wstring wideTo = win::widen(to);
        if (wideTo.empty()) return Keep::failed;
        if (!file_.valid()) return moveClosed(wideTo, to, replaceExisting);
        if (deletesItself_ && !setDeleteOnClose(file_.get(), false)) return Keep::failed;
        const NTSTATUS status = renameOpenFile(file_.get(), wideTo, replaceExisting);
        if (status >= 0) return keptAs(wideTo, to);
        if (renameUnsupported(status)) {
            // Closed unmarked, then renamed by name: the file is this
            // object's alone, and it deletes it by name if no name will do.
            file_.reset();
            deletesItself_ = false;
            return moveClosed(wideTo, to, replaceExisting);
        }
        if (deletesItself_) setDeleteOnClose(file_.get(), true);
        return nameInUse(status) ? Keep::nameTaken : Keep::failed;
    }

private:
    Keep keptAs(const std::wstring& wideTo, const std::string& to) {
        kept_ = true;
        widePath_ = wideTo;
        path_ = to;
        return Keep::kept;
    }

    Keep moveClosed(const std::wstring& wideTo, const std::string& to, bool replaceExisting) {
        if (MoveFileExW(widePath_.c_str(), wideTo.c_str(), replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0))
            return keptAs(wideTo, to);
        return nameInUseError(GetLastError()) ? Keep::nameTaken : Keep::failed;
    }

    std::string path_;
    std::wstring widePath_;
    win::ScopedHandle file_;
    bool deletesItself_;
    bool kept_ = false;
};

// Whether a name that could not be created is held by something: a file
// pending deletion refuses to be opened, and says so as access denied.
bool heldByAnother(const std::wstring& path, DWORD createError) {
    if (createError == ERROR_FILE_EXISTS || createError == ERROR_ALREADY_EXISTS) return true;
    if (createError != ERROR_ACCESS_DENIED && createError != ERROR_SHARING_VIOLATION) return false;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::shared_ptr<PartFile> Win32Platform::createPartFile(const std::string& path, bool& nameTaken) {
    nameTaken = false;
    std::wstring wide = win::widen(path);
    if (wide.empty()) return nullptr;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        nameTaken = heldByAnother(wide, GetLastError());
        return nullptr;
    }
    // A device name opens the device: the download must go into a file.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return nullptr;
    }
    return std::make_shared<Win32PartFile>(path, std::move(wide), file);
}

}  // namespace platform
