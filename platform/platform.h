// The narrow doorway from the portable core to the operating system.
// The Windows build implements it with the ANSI Win32 calls for what the
// program hands to the system, and takes what the system hands back (names,
// paths) in its wide form, converted once to code page 932; a POSIX
// implementation lets the core and its tests run natively. Tests that must
// steer a call (the clipboard, the clock, message boxes) install a fake.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/converter_library.h"

struct UrlParts;

namespace platform {

// A window handle as the core sees it: opaque, never dereferenced.
using WindowHandle = void*;

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

struct FolderEntry {
    std::string name;  // as listed, without folder: the name that opens it
    bool isDirectory = false;
    // When code page 932 lacks a character of the long name, `name` is the
    // short name (8.3) and this the long one with '?' for each such
    // character, to show; empty otherwise.
    std::string shownName;
};

// Message box flags, the values of the Win32 MB_ constants.
enum : int { vkShift = 0x10, vkControl = 0x11 };

enum : unsigned {
    mbOk = 0x0,
    mbIconError = 0x10,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
};

// The browser bridge library, loaded for one call and freed when the
// object goes. Each function may be missing from the library.
class BridgeLibrary {
public:
    virtual ~BridgeLibrary() = default;
    virtual bool hasGetActiveBrowseInfo() = 0;
    // Asks `service` for its page; non-zero when it answered into `reply`.
    virtual int getActiveBrowseInfo(const std::string& service, std::string& reply) = 0;
    virtual bool hasGetDdeStr() = 0;
    // Takes the page URL out of a reply (at most 259 characters). Answers
    // what the library does: 1 a URL, 0 none, negative when the URL was
    // longer than 259 characters and `url` holds only its start.
    virtual int getDdeStr(const std::string& reply, std::string& url) = 0;
    virtual bool hasSetBrowseUrl() = 0;
    // Non-zero when the browser took the URL.
    virtual int setBrowseUrl(const std::string& service, const std::string& url) = 0;
};

// How one HTTP download ended. The caller tells the user; the platform only
// classifies.
enum class DownloadOutcome {
    ok,                // the whole answer is in the local file
    initFailed,        // no Internet session
    openFailed,        // no connection, or the request was refused
    httpError,         // the server answered with a status of 400 or above
    stalled,           // no byte came for the whole time limit
    readFailed,        // the transfer broke off
    cutOff,            // the answer ended before the length it announced
    diskFull,          // a write found no room left on the drive
    fileTooLarge,      // the file outgrew what the drive can hold (FAT's 4 GB)
    writeDenied,       // a write was refused
    writeFailed,       // a write failed for another reason
    insecureRedirect,  // an https address redirected to an http one
    fileNotCreated,    // the local file could not be created
    cancelled,         // the watch asked to stop
};

// How a download ended, with what the user is told about it.
struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::readFailed;
    std::uint64_t received = 0;   // bytes written to the file
    std::uint64_t announced = 0;  // the length the server announced, if it did
    std::string finalUrl;         // where the answer came from, after redirects
    // insecureRedirect: the https address and the http one it sent us to.
    std::string redirectFrom, redirectTo;
};

// The file a download is written into while it arrives. It belongs to its
// handle: unless it was kept, it is gone once the object goes, and it goes
// with the process too, however that ends. Nothing ever deletes it by name.
class PartFile {
public:
    virtual ~PartFile() = default;
    virtual const std::string& path() const = 0;
    // Appends the bytes: ok, or the write outcome that says why not.
    virtual DownloadOutcome write(const char* data, std::size_t size) = 0;
    enum class Keep { kept, nameTaken, failed };
    // Keeps the whole file under the name `to` in its folder: from then on
    // it stays when the object goes. With replaceExisting a file of that
    // name is replaced; without, a name in use (or one pending deletion)
    // is nameTaken and the file is still a part file.
    virtual Keep keepAs(const std::string& to, bool replaceExisting) = 0;
};

// Where a running download stands.
struct DownloadProgress {
    std::uint64_t received = 0;  // bytes written to the file so far
    std::uint64_t total = 0;     // the size the server announced
    bool totalKnown = false;
    unsigned elapsedMs = 0;      // since the download began
};

// Follows a download on the thread that asked for it.
class DownloadWatch {
public:
    virtual ~DownloadWatch() = default;
    // Called about ten times a second while the download runs; false ends
    // it as cancelled.
    virtual bool keepGoing(const DownloadProgress& progress) = 0;
};

// A file's size and last write time, to tell a rewritten file from the
// one that was there before.
struct FileStamp {
    bool exists = false;  // a file (not a folder) of that name
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;  // in the platform's own units
    bool operator==(const FileStamp& o) const {
        return exists == o.exists && size == o.size && writeTime == o.writeTime;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// A program started by startProcess; its handle is closed when this goes.
class Process {
public:
    virtual ~Process() = default;
    // True once the process has ended (a zero-time wait on its handle).
    virtual bool hasEnded() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // PathIsDirectoryA / PathFileExistsA (true for folders as well).
    virtual bool isDirectory(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;

    // Reads at most maxBytes of a file opened with read sharing. With
    // createIfMissing the file is opened like OPEN_ALWAYS (a missing file is
    // created empty). False when it cannot be opened.
    virtual bool readFile(const std::string& path, std::string& out,
                          std::size_t maxBytes, bool createIfMissing) = 0;
    virtual bool createDirectory(const std::string& path) = 0;

    // Lists a folder (the pattern "<folder>*.*"); false when it cannot be
    // listed. "." and ".." are reported like any entry.
    virtual bool listFolder(const std::string& folderWithSeparator,
                            std::vector<FolderEntry>& out) = 0;
    // SHFileOperationA(FO_DELETE) over a double-NUL-terminated list.
    virtual bool deleteItems(WindowHandle owner, const std::string& list) = 0;

    // GetFullPathName; a result of 260 bytes or more, or one that no code
    // page 932 name reaches (see wideName), fails.
    virtual bool fullPathName(const std::string& name, std::string& out) = 0;
    // SearchPath; `directories` null means the system search order.
    // Results of 260 bytes or more, or that no code page 932 name reaches,
    // count as not found.
    virtual bool searchPath(const std::string* directories,
                            const std::string& name, std::string& out) = 0;
    // SHGetSpecialFolderPath without creating the folder; a folder that no
    // code page 932 name reaches fails.
    virtual bool specialFolderPath(WindowHandle owner, int csidl,
                                   std::string& out) = 0;

    virtual LocalTime localTime() = 0;

    // Splits a URL the way InternetCrackUrlA does (no decoding, fixed
    // buffers); false when the text is rejected.
    virtual bool splitUrl(const std::string& url, UrlParts& parts) = 0;

    // A modal message box owned by `owner`; returns the button id.
    virtual int messageBox(WindowHandle owner, const std::string& text,
                           const std::string& caption, unsigned flags) = 0;
    // Brings `window` to the foreground before a message is shown.
    virtual void setForeground(WindowHandle window) = 0;

    // ShellExecuteA with the default verb and SW_SHOWNORMAL; returns its
    // instance value (above 32 on success). Empty texts are passed as null.
    virtual int shellExecute(WindowHandle owner, const std::string& file,
                             const std::string& parameters,
                             const std::string& directory) = 0;
    // FindExecutable: the program associated with a document; returns its
    // instance value (above 32 on success; a program that no code page 932
    // name reaches is not found).
    virtual int findExecutable(const std::string& document, std::string& program) = 0;
    // AssocQueryString(ASSOCSTR_EXECUTABLE) for a URL scheme ("http") and
    // the open verb: the program the system starts for such URLs. False
    // when none is registered.
    virtual bool schemeProgram(const std::string& scheme, std::string& program) = 0;
    // The name (without folder) under which FindFirstFile lists a file; its
    // short name where the code page cannot hold the long one.
    virtual bool longFileName(const std::string& path, std::string& name) = 0;
    // True while the key (a Win32 virtual-key code) is held down, as the
    // thread's own input has seen it so far (GetKeyState).
    virtual bool isKeyDown(int virtualKey) = 0;
    // True while the key is physically down at this moment
    // (GetAsyncKeyState): what a wait for its release polls.
    virtual bool isKeyPhysicallyDown(int virtualKey) = 0;
    // Blocks the thread for the given milliseconds.
    virtual void sleep(int milliseconds) = 0;
    // The browser bridge library at `path` (tvDDE.dll in the program's
    // folder); null when it is missing. Libraries are loaded only by a full
    // path: a bare name would be looked for in the current folder too,
    // wherever the user last browsed, so a relative path is refused.
    virtual std::unique_ptr<BridgeLibrary> loadBridgeLibrary(const std::string& path) = 0;
    // A code converter library at `path` (nkf32.dll or jconv.dll in the
    // program's folder); null when it is missing. Relative paths are
    // refused as above.
    virtual std::unique_ptr<ConverterLibrary> loadConverterLibrary(const std::string& path) = 0;

    // CF_TEXT of the clipboard: false when there is none or it is empty.
    // At most maxBytes - 1 characters are returned.
    virtual bool clipboardText(WindowHandle owner, std::string& out,
                               std::size_t maxBytes) = 0;
    // CF_UNICODETEXT of the clipboard, the same way: at most maxUnits - 1
    // UTF-16 units.
    virtual bool clipboardWideText(WindowHandle owner, std::u16string& out,
                                   std::size_t maxUnits) = 0;

    // Appends the code page 932 bytes of one character (a Unicode scalar
    // value); false, appending nothing, when the code page lacks it. A
    // character counts only when its bytes read back as that same
    // character: no look-alike stands in for it ("e" for "é", "\" for "¥").
    virtual bool cp932Char(char32_t c, std::string& out) = 0;
    // The character that one code page 932 character's bytes (a single
    // byte, or a lead and a trail byte) stand for; false when they stand
    // for none.
    virtual bool charOfCp932(std::string_view bytes, char32_t& c) = 0;
    // Whether a wide path names an existing file or folder.
    virtual bool wideFileExists(const std::u16string& path) = 0;
    // The code page 932 name of a wide path: its own bytes where the code
    // page holds every character, else each part (folder or file name) it
    // cannot hold replaced by that part's short (8.3) name, which opens the
    // same file. False where such a part has no short name: `name` is then
    // the path to show ('?' for each character lost), recorded in
    // unopenableNames for the box that says it cannot be opened.
    virtual bool wideName(const std::u16string& path, std::string& name) = 0;
    // The code page the system reads the program's ANSI text in (GetACP).
    // The program's texts are code page 932: under any other, its boxes,
    // menus and lists would show other characters than it wrote.
    virtual unsigned codePage() = 0;

    // Creates the part file `path` for a download; null when it cannot be
    // made, with `nameTaken` set when that is because the name is in use
    // (by a file, a folder, or a file pending deletion): the next name may
    // do. Only files on a disk are made (a device name is refused).
    virtual std::shared_ptr<PartFile> createPartFile(const std::string& path, bool& nameTaken) = 0;
    // Downloads an http or https URL into `file`, through the proxy the
    // system is set up with, following redirects except one from https to
    // http. Connecting and each wait for data give up after
    // `stallSeconds` without a byte; a download that keeps receiving goes
    // on however long it takes. `watch` follows it and may cancel it; a
    // cancelled transfer may still hold `file` for a while after this
    // returns, so the caller lets go of it and leaves it alone.
    virtual DownloadResult downloadUrl(const std::string& url, std::shared_ptr<PartFile> file,
                                       int stallSeconds, DownloadWatch& watch) = 0;
    // Marks a saved file as come from `hostUrl` (found on the page
    // `referrerUrl`, if not empty), as Windows' attachment services do, so
    // that the system's checks of files from the Internet apply to it.
    // Best effort: a mark that cannot be written is left out.
    virtual void markFromInternet(const std::string& path, const std::string& hostUrl,
                                  const std::string& referrerUrl) = 0;
    // ShellExecuteExA without error dialogs, keeping the process handle;
    // null when the program could not be started.
    virtual std::unique_ptr<Process> startProcess(const std::string& program,
                                                  const std::string& parameters) = 0;
    // True when the file exists and has the hidden attribute.
    virtual bool isHidden(const std::string& path) = 0;
    // Size and last write time of a file; `exists` false when there is no
    // file of that name.
    virtual FileStamp fileStamp(const std::string& path) = 0;
};

// The platform in use: the build's real one unless a test installed another.
Platform& os();
// The build's real implementation.
Platform& nativePlatform();
// Makes `p` the platform in use (null restores the native one); returns the
// previous one.
Platform* installPlatform(Platform* p);

}  // namespace platform
