// Files by their UTF-8 names; code page 932 names as the native check
// tool's file layer converts them.
#include "check/posix/system_view.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "check/posix/utf8_files.h"

namespace {

class PosixSystemView final : public SystemView {
public:
    bool hasRegistry() const override { return false; }
    bool subkeys(RegistryRoot, RegistryView, const std::string&, std::vector<std::string>&) override {
        return false;
    }
    bool stringValue(RegistryRoot, RegistryView, const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool keyExists(RegistryRoot, RegistryView, const std::string&) override { return false; }

    bool userFolder(const std::string& name, std::string& path) override {
        const char* value = std::getenv(name.c_str());
        if (!value || !*value) return false;
        path = value;
        if (path.back() != '/') path += '/';
        return true;
    }

    std::string ownFolder() override {
        char path[PATH_MAX] = {};
        const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        const std::string self = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
        const std::size_t slash = self.rfind('/');
        return slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1);
    }

    char separator() const override { return '/'; }

    // Programs named in a registry's commands; there is none here.
    bool searchProgram(const std::string&, std::string&) override { return false; }

    bool isFile(const std::string& path) override {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    bool isDirectory(const std::string& path) override {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes) override {
        struct stat st;
        if (stat(path.c_str(), &st) != 0) return FileRead::missing;
        if (S_ISDIR(st.st_mode)) return FileRead::folder;
        if (static_cast<unsigned long long>(st.st_size) > limit) return FileRead::tooLarge;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return FileRead::unreadable;
        bytes.clear();
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
            bytes.append(buffer, n);
            if (bytes.size() > limit) break;
        }
        const bool failed = std::ferror(f) != 0;
        std::fclose(f);
        if (failed) return FileRead::unreadable;
        return bytes.size() > limit ? FileRead::tooLarge : FileRead::ok;
    }

    bool sameFile(const std::string& a, const std::string& b) override {
        struct stat x, y;
        return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    }

    bool canWriteIn(const std::string& folder) override {
        std::string name = folder;
        if (!name.empty() && name.back() != '/') name += '/';
        name += "~tavrin-doctor-" + std::to_string(getpid()) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) return false;
        close(fd);
        unlink(name.c_str());
        return true;
    }

    bool tavrinPath(const std::string& path, std::string& cp932) override {
        const std::string converted = utf8NameToCp932(path);
        if (cp932NameToUtf8(converted) != path) return false;
        cp932 = converted;
        return true;
    }

    std::string systemPath(const std::string& cp932) override { return cp932NameToUtf8(cp932); }
};

}  // namespace

std::unique_ptr<SystemView> posixSystemView() { return std::make_unique<PosixSystemView>(); }
