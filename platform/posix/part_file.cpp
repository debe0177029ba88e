// A download's part file with POSIX calls: created exclusively, kept by a
// rename that refuses a name in use (link) or replaces it (rename), and
// unlinked when let go unkept.
#include "platform/posix/part_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/text.h"

namespace platform {
namespace {

class PosixPartFile final : public PartFile {
public:
    PosixPartFile(std::string path, std::string native, int fd)
        : path_(std::move(path)), native_(std::move(native)), fd_(fd) {}
    ~PosixPartFile() override {
        if (fd_ >= 0) close(fd_);
        if (!kept_) unlink(native_.c_str());
    }
    PosixPartFile(const PosixPartFile&) = delete;
    PosixPartFile& operator=(const PosixPartFile&) = delete;

    const std::string& path() const override { return path_; }

    DownloadOutcome write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0 || errno == ENOSPC) return DownloadOutcome::diskFull;
                if (errno == EFBIG) return DownloadOutcome::fileTooLarge;
                if (errno == EACCES || errno == EPERM || errno == EROFS) return DownloadOutcome::writeDenied;
                return DownloadOutcome::writeFailed;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return DownloadOutcome::ok;
    }

    Keep keepAs(const std::string& to, bool replaceExisting) override {
        if (kept_) return Keep::failed;
        const std::string target = nativePath(to);
        struct stat st;
        if (replaceExisting) {
            if (stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Keep::nameTaken;
            if (rename(native_.c_str(), target.c_str()) != 0) return Keep::failed;
        } else {
            if (link(native_.c_str(), target.c_str()) != 0)
                return errno == EEXIST ? Keep::nameTaken : Keep::failed;
            unlink(native_.c_str());
        }
        kept_ = true;
        path_ = to;
        native_ = target;
        return Keep::kept;
    }

private:
    std::string path_, native_;
    int fd_;
    bool kept_ = false;
};

}  // namespace

std::string nativePath(const std::string& path) {
    std::string out = path;
    for (std::size_t i = 0; i < out.size();) {
        if (text::isLeadByte(static_cast<unsigned char>(out[i]))) { i += 2; continue; }
        if (out[i] == '\\') out[i] = '/';
        ++i;
    }
    return out;
}

std::shared_ptr<PartFile> createPosixPartFile(const std::string& path, const std::string& native,
                                              bool& nameTaken) {
    nameTaken = false;
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        nameTaken = errno == EEXIST;
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    return std::make_shared<PosixPartFile>(path, native, fd);
}

}  // namespace platform
