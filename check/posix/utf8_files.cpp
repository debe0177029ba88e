// The native check tool's file names: code page 932 inside, UTF-8 on disk.
#include "check/posix/utf8_files.h"

#include <iconv.h>

#include "common/text.h"
#include "platform/posix/iconv_whole.h"

namespace {

bool isAscii(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Converts `in` whole; false when any of it does not convert.
bool convertWhole(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    const bool ok = platform::iconvWhole(cd, in, out);
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    return ok;
}

using platform::Platform;

class Utf8FileNames final : public Platform {
public:
    explicit Utf8FileNames(Platform& real) : real_(real) {}

    bool isDirectory(const std::string& path) override { return real_.isDirectory(disk(path)); }
    bool fileExists(const std::string& path) override { return real_.fileExists(disk(path)); }
    bool readFile(const std::string& path, std::string& out, std::size_t maxBytes, bool create) override {
        return real_.readFile(disk(path), out, maxBytes, create);
    }
    bool createDirectory(const std::string& path) override { return real_.createDirectory(disk(path)); }
    bool listFolder(const std::string& folder, std::vector<platform::FolderEntry>& out) override {
        if (!real_.listFolder(disk(folder), out)) return false;
        for (platform::FolderEntry& entry : out) entry.name = utf8NameToCp932(entry.name);
        return true;
    }
    bool deleteItems(platform::WindowHandle owner, const std::string& list) override {
        std::string converted;
        for (std::size_t i = 0; i < list.size() && list[i] != '\0';) {
            std::size_t end = list.find('\0', i);
            if (end == std::string::npos) end = list.size();
            converted += disk(list.substr(i, end - i)) + '\0';
            i = end + 1;
        }
        return real_.deleteItems(owner, converted + '\0');
    }
    bool fullPathName(const std::string& name, std::string& out) override {
        if (!real_.fullPathName(disk(name), out)) return false;
        out = utf8NameToCp932(out);
        return true;
    }
    bool searchPath(const std::string* directories, const std::string& name, std::string& out) override {
        const std::string dirs = directories ? disk(*directories) : std::string();
        if (!real_.searchPath(directories ? &dirs : nullptr, disk(name), out)) return false;
        out = utf8NameToCp932(out);
        return true;
    }
    bool specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) override {
        return real_.specialFolderPath(owner, csidl, out);
    }
    platform::LocalTime localTime() override { return real_.localTime(); }
    bool splitUrl(const std::string& url, UrlParts& parts) override { return real_.splitUrl(url, parts); }
    int messageBox(platform::WindowHandle owner, const std::string& text, const std::string& caption,
                   unsigned flags) override {
        return real_.messageBox(owner, text, caption, flags);
    }
    void setForeground(platform::WindowHandle window) override { real_.setForeground(window); }
    int shellExecute(platform::WindowHandle owner, const std::string& file, const std::string& parameters,
                     const std::string& directory) override {
        return real_.shellExecute(owner, disk(file), parameters, disk(directory));
    }
    int findExecutable(const std::string& document, std::string& program) override {
        const int result = real_.findExecutable(disk(document), program);
        program = utf8NameToCp932(program);
        return result;
    }
    bool schemeProgram(const std::string& scheme, std::string& program) override {
        return real_.schemeProgram(scheme, program);
    }
    bool longFileName(const std::string& path, std::string& name) override {
        if (!real_.longFileName(disk(path), name)) return false;
        name = utf8NameToCp932(name);
        return true;
    }
    bool isKeyDown(int key) override { return real_.isKeyDown(key); }
    bool isKeyPhysicallyDown(int key) override { return real_.isKeyPhysicallyDown(key); }
    void sleep(int milliseconds) override { real_.sleep(milliseconds); }
    std::unique_ptr<platform::BridgeLibrary> loadBridgeLibrary(const std::string& path) override {
        return real_.loadBridgeLibrary(disk(path));
    }
    std::unique_ptr<platform::ConverterLibrary> loadConverterLibrary(const std::string& path) override {
        return real_.loadConverterLibrary(disk(path));
    }
    bool clipboardText(platform::WindowHandle owner, std::string& out, std::size_t maxBytes) override {
        return real_.clipboardText(owner, out, maxBytes);
    }
    bool clipboardWideText(platform::WindowHandle owner, std::u16string& out, std::size_t maxUnits) override {
        return real_.clipboardWideText(owner, out, maxUnits);
    }
    bool cp932Char(char32_t c, std::string& out) override { return real_.cp932Char(c, out); }
    bool charOfCp932(std::string_view bytes, char32_t& c) override { return real_.charOfCp932(bytes, c); }
    bool wideFileExists(const std::u16string& path) override { return real_.wideFileExists(path); }
    bool wideName(const std::u16string& path, std::string& name) override { return real_.wideName(path, name); }
    unsigned codePage() override { return real_.codePage(); }
    std::shared_ptr<platform::PartFile> createPartFile(const std::string& path, bool& nameTaken) override {
        std::shared_ptr<platform::PartFile> file = real_.createPartFile(disk(path), nameTaken);
        if (!file) return nullptr;
        return std::make_shared<PartFileByName>(path, std::move(file));
    }
    platform::DownloadResult downloadUrl(const std::string& url, std::shared_ptr<platform::PartFile> file,
                                         int stall, platform::DownloadWatch& watch) override {
        return real_.downloadUrl(url, std::move(file), stall, watch);
    }
    void markFromInternet(const std::string& path, const std::string& hostUrl,
                          const std::string& referrerUrl) override {
        real_.markFromInternet(disk(path), hostUrl, referrerUrl);
    }
    std::unique_ptr<platform::Process> startProcess(const std::string& program,
                                                    const std::string& parameters) override {
        return real_.startProcess(disk(program), parameters);
    }
    bool isHidden(const std::string& path) override { return real_.isHidden(disk(path)); }
    platform::FileStamp fileStamp(const std::string& path) override { return real_.fileStamp(disk(path)); }

private:
    // A part file named in code page 932, kept on disk under UTF-8 names.
    class PartFileByName final : public platform::PartFile {
    public:
        PartFileByName(std::string path, std::shared_ptr<platform::PartFile> real)
            : path_(std::move(path)), real_(std::move(real)) {}
        const std::string& path() const override { return path_; }
        platform::DownloadOutcome write(const char* data, std::size_t size) override {
            return real_->write(data, size);
        }
        Keep keepAs(const std::string& to, bool replace) override {
            const Keep kept = real_->keepAs(disk(to), replace);
            if (kept == Keep::kept) path_ = to;
            return kept;
        }

    private:
        std::string path_;
        std::shared_ptr<platform::PartFile> real_;
    };

    // Backslashes are folder separators only between whole characters of
    // the code page (one may be a character's second byte): they are
    // turned into slashes before the name leaves the code page.
    static std::string disk(const std::string& path) {
        std::string slashed = path;
        for (std::size_t i = 0; i < slashed.size();) {
            const std::size_t step = text::charLength(slashed, i);
            if (step == 1 && slashed[i] == '\\') slashed[i] = '/';
            i += step;
        }
        return cp932NameToUtf8(slashed);
    }
    Platform& real_;
};

}  // namespace

std::string cp932NameToUtf8(const std::string& name) {
    if (isAscii(name)) return name;
    std::string out;
    return convertWhole("UTF-8", "CP932", name, out) ? out : name;
}

std::string utf8NameToCp932(const std::string& name) {
    if (isAscii(name)) return name;
    std::string out;
    return convertWhole("CP932", "UTF-8", name, out) ? out : name;
}

std::unique_ptr<platform::Platform> utf8FileNames(platform::Platform& real) {
    return std::make_unique<Utf8FileNames>(real);
}
