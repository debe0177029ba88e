// POSIX implementation of the platform layer, so that the core and its
// tests run natively. Backslashes (at character boundaries) are taken as
// folder separators; code page 932 is iconv's; there is no clipboard, no
// message box, no shell and no Internet session.
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/capacity.h"
#include "common/text.h"
#include "common/unicode.h"
#include "common/unopenable_names.h"
#include "platform/platform.h"
#include "platform/posix/iconv_whole.h"
#include "platform/posix/part_file.h"
#include "template/url_parts.h"

namespace platform {
namespace {

std::string native(const std::string& path) { return nativePath(path); }


bool removeTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n == "." || n == "..") continue;
                removeTree(path + "/" + n);
            }
            closedir(d);
        }
        return rmdir(path.c_str()) == 0;
    }
    return unlink(path.c_str()) == 0;
}

class PosixPlatform final : public Platform {
public:
    bool isDirectory(const std::string& path) override {
        struct stat st;
        return !path.empty() && stat(native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    bool fileExists(const std::string& path) override {
        struct stat st;
        return !path.empty() && stat(native(path).c_str(), &st) == 0;
    }
    bool readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                  bool createIfMissing) override {
        out.clear();
        if (isDirectory(path)) return false;
        // Opened without waiting: a pipe would wait for a writer.
        int flags = O_RDONLY | O_NONBLOCK | (createIfMissing ? O_CREAT : 0);
        int fd = open(native(path).c_str(), flags, 0644);
        if (fd < 0) return false;
        struct Closer {
            int fd;
            ~Closer() { close(fd); }
        } closer{fd};
        // Only regular files are read: a read from a device or a pipe may
        // wait for input that never comes.
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
        // One allocation of the right size: a page of many megabytes must
        // not pass through a buffer twice its size.
        if (st.st_size > 0)
            out.reserve(std::min(maxBytes, static_cast<std::size_t>(st.st_size)));
        char buf[65536];
        while (out.size() < maxBytes) {
            std::size_t want = std::min(sizeof buf, maxBytes - out.size());
            ssize_t n = read(fd, buf, want);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }
    bool createDirectory(const std::string& path) override {
        return mkdir(native(path).c_str(), 0755) == 0;
    }
    bool listFolder(const std::string& folder, std::vector<FolderEntry>& out) override {
        out.clear();
        std::string dir = native(folder);
        DIR* d = opendir(dir.c_str());
        if (!d) return false;
        while (dirent* e = readdir(d)) {
            FolderEntry entry;
            entry.name = e->d_name;
            struct stat st;
            entry.isDirectory = stat((dir + "/" + entry.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            out.push_back(entry);
        }
        closedir(d);
        return true;
    }
    bool deleteItems(WindowHandle, const std::string& list) override {
        bool all = true;
        for (std::size_t i = 0; i < list.size() && list[i] != '\0';) {
            std::size_t end = list.find('\0', i);
            if (end == std::string::npos) end = list.size();
            all = removeTree(native(list.substr(i, end - i))) && all;
            i = end + 1;
        }
        return all;
    }
    bool fullPathName(const std::string& name, std::string& out) override {
        std::string n = native(name);
        std::string full;
        if (!n.empty() && n[0] == '/') {
            full = n;
        } else {
            char cwd[PATH_MAX];
            if (!getcwd(cwd, sizeof cwd)) return false;
            full = std::string(cwd) + "/" + n;
        }
        if (full.size() >= cap::path) return false;
        out = full;
        return true;
    }
    bool searchPath(const std::string* directories, const std::string& name,
                    std::string& out) override {
        std::string list;
        if (directories) {
            list = native(*directories);
        } else {
            const char* p = std::getenv("PATH");
            list = p ? p : "";
            for (char& c : list) if (c == ':') c = ';';
        }
        std::string n = native(name);
        if (!n.empty() && n[0] == '/') return false;
        std::size_t i = 0;
        while (i <= list.size()) {
            std::size_t end = list.find(';', i);
            if (end == std::string::npos) end = list.size();
            std::string dir = list.substr(i, end - i);
            if (!dir.empty()) {
                std::string candidate = dir + (dir.back() == '/' ? "" : "/") + n;
                struct stat st;
                if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
                    if (candidate.size() >= cap::path) return false;
                    out = candidate;
                    return true;
                }
            }
            i = end + 1;
        }
        return false;
    }
    bool specialFolderPath(WindowHandle, int, std::string&) override { return false; }
    LocalTime localTime() override {
        std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        LocalTime t;
        t.year = tm.tm_year + 1900;
        t.month = tm.tm_mon + 1;
        t.day = tm.tm_mday;
        t.hour = tm.tm_hour;
        t.minute = tm.tm_min;
        t.second = tm.tm_sec;
        return t;
    }
    bool splitUrl(const std::string& url, UrlParts& parts) override {
        return crackUrlPortable(url, parts);
    }
    int messageBox(WindowHandle, const std::string& text, const std::string& caption,
                   unsigned) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        return 1;
    }
    void setForeground(WindowHandle) override {}
    bool clipboardText(WindowHandle, std::string&, std::size_t) override { return false; }
    bool clipboardWideText(WindowHandle, std::u16string&, std::size_t) override { return false; }
    // iconv's code page 932, held to the same test as the system's: the
    // bytes must read back as the character.
    bool cp932Char(char32_t c, std::string& out) override {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        static iconv_t toCp932 = iconv_open("CP932", "UTF-8");
        static iconv_t fromCp932 = iconv_open("UTF-8", "CP932");
        std::string utf8;
        unicode::appendUtf8(utf8, c);
        std::string bytes, back;
        if (!iconvWhole(toCp932, utf8, bytes) || bytes.empty()) return false;
        if (!iconvWhole(fromCp932, bytes, back) || back != utf8) return false;
        out += bytes;
        return true;
    }
    // No short names here: a path the code page cannot hold has no other.
    bool wideName(const std::u16string& path, std::string& name) override {
        name.clear();
        bool held = true;
        for (std::size_t i = 0; i < path.size();) {
            const char32_t c = unicode::next(path, i);
            if (c < 0x80) name += static_cast<char>(c);
            else if (!cp932Char(c, name)) { name += '?'; held = false; }
        }
        if (!held) noteUnopenableName(name);
        return held;
    }
    unsigned codePage() override { return 932; }
    bool charOfCp932(std::string_view bytes, char32_t& c) override {
        static iconv_t fromCp932 = iconv_open("UTF-8", "CP932");
        std::string utf8;
        if (bytes.empty() || bytes.size() > 2 || !iconvWhole(fromCp932, bytes, utf8)) return false;
        const std::u16string wide = unicode::fromUtf8(utf8);
        std::size_t i = 0;
        if (wide.empty()) return false;
        c = unicode::next(wide, i);
        return i == wide.size() && c != unicode::replacement;
    }
    bool wideFileExists(const std::u16string& path) override {
        // No byte of a UTF-8 character is a backslash: each one is a
        // folder separator.
        std::string utf8;
        for (std::size_t i = 0; i < path.size();) {
            const char32_t c = unicode::next(path, i);
            unicode::appendUtf8(utf8, c == '\\' ? U'/' : c);
        }
        struct stat st;
        return !utf8.empty() && stat(utf8.c_str(), &st) == 0;
    }
    // No shell here: nothing can be started or opened.
    int shellExecute(WindowHandle, const std::string&, const std::string&,
                     const std::string&) override {
        return 2;
    }
    int findExecutable(const std::string&, std::string&) override { return 31; }
    bool schemeProgram(const std::string&, std::string&) override { return false; }
    bool longFileName(const std::string& path, std::string& name) override {
        if (!fileExists(path)) return false;
        std::string n = native(path);
        std::size_t slash = n.rfind('/');
        name = slash == std::string::npos ? n : n.substr(slash + 1);
        return true;
    }
    bool isKeyDown(int) override { return false; }
    bool isKeyPhysicallyDown(int) override { return false; }
    void sleep(int milliseconds) override {
        if (milliseconds > 0) usleep(static_cast<useconds_t>(milliseconds) * 1000);
    }
    std::unique_ptr<BridgeLibrary> loadBridgeLibrary(const std::string&) override { return nullptr; }
    std::shared_ptr<PartFile> createPartFile(const std::string& path, bool& nameTaken) override {
        return createPosixPartFile(path, native(path), nameTaken);
    }
    // No Internet session and no shell: downloads fail at their first step
    // and no loader can be started.
    DownloadResult downloadUrl(const std::string&, std::shared_ptr<PartFile>, int,
                               DownloadWatch&) override {
        DownloadResult result;
        result.outcome = DownloadOutcome::initFailed;
        return result;
    }
    // No streams to hold a mark.
    void markFromInternet(const std::string&, const std::string&, const std::string&) override {}
    std::unique_ptr<Process> startProcess(const std::string&, const std::string&) override {
        return nullptr;
    }
    bool isHidden(const std::string&) override { return false; }
    FileStamp fileStamp(const std::string& path) override {
        FileStamp stamp;
        struct stat st;
        if (path.empty() || stat(native(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
        stamp.exists = true;
        stamp.size = static_cast<std::uint64_t>(st.st_size);
        stamp.writeTime = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                          static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
        return stamp;
    }
    // No code converter library exists here; texts are read as they are.
    std::unique_ptr<ConverterLibrary> loadConverterLibrary(const std::string&) override {
        return nullptr;
    }
};

}  // namespace

Platform& nativePlatform() {
    static PosixPlatform instance;
    return instance;
}

}  // namespace platform
