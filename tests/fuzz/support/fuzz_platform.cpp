// The fuzz targets' platform: an in-memory file table and counted effects.
#include "tests/fuzz/support/fuzz_platform.h"

#include <cstdio>

#include "common/capacity.h"
#include "common/text.h"
#include "links/nkf/nkf_convert.h"
#include "template/url_parts.h"
#include "tests/fuzz/support/fuzz_state.h"
#include "tests/fuzz/support/fuzz_utf8_step.h"

namespace {

// ASCII letters folded, as Windows compares names; the trail byte of a
// double-byte character may look like a capital and is left alone.
std::string folded(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = text::charLength(out, i);
        if (n == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] + 32);
        i += n;
    }
    return out;
}

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A folder name without the separator a caller may have put behind it.
std::string folderKey(const std::string& path) {
    std::string key = folded(path);
    while (key.size() > 1 && (key.back() == '\\' || key.back() == '/')) key.pop_back();
    return key;
}

bool isAbsolute(const std::string& name) {
    return (name.size() >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/')) ||
           name.compare(0, 2, "\\\\") == 0;
}

// The converter library, as nkf32.dll does its work, over the caller's
// buffers: an overrun of the room it was promised is the sanitizer's to see.
class FuzzConverter final : public platform::ConverterLibrary {
public:
    explicit FuzzConverter(int& conversions) : conversions_(conversions) {}
    bool hasSetNkfOption() override { return true; }
    void setNkfOption(const char*) override {}
    bool hasNkfConvert() override { return true; }
    void nkfConvert(char* out, const char* in) override {
        ++conversions_;
        nkf::convertPage(in, out, fuzzUtf8ToCp932);
    }
    bool hasSetJconvOpt() override { return false; }
    void setJconvOpt(int) override {}
    bool hasJconv() override { return false; }
    void jconv(int, const char*, int, int, char*) override {}

private:
    int& conversions_;
};

}  // namespace

FuzzPlatform::FuzzPlatform() = default;

void FuzzPlatform::reset() {
    files_.clear();
    folders_.clear();
    fileRules_.clear();
    folderRules_.clear();
    clipboard.reset();
    downloadBody.reset();
    converterPresent = false;
    effects = Effects{};
}

void FuzzPlatform::addFile(const std::string& path, std::string content) {
    files_[folded(path)] = std::move(content);
}

void FuzzPlatform::addFolder(const std::string& path) { folders_.push_back(folderKey(path)); }

void FuzzPlatform::addFilesEnding(const std::string& suffix, std::string content) {
    fileRules_.emplace_back(folded(suffix), std::move(content));
}

void FuzzPlatform::addFoldersEnding(const std::string& suffix) { folderRules_.push_back(folded(suffix)); }

const std::string* FuzzPlatform::findFile(const std::string& path) const {
    if (path.empty()) return nullptr;
    const std::string key = folded(path);
    auto it = files_.find(key);
    if (it != files_.end()) return &it->second;
    for (const auto& rule : fileRules_)
        if (endsWith(key, rule.first)) return &rule.second;
    return nullptr;
}

bool FuzzPlatform::isDirectory(const std::string& path) {
    if (path.empty()) return false;
    const std::string key = folderKey(path);
    for (const auto& f : folders_)
        if (f == key) return true;
    const std::string whole = folded(path);
    for (const auto& rule : folderRules_)
        if (endsWith(whole, rule)) return true;
    return false;
}

bool FuzzPlatform::fileExists(const std::string& path) {
    return findFile(path) != nullptr || isDirectory(path);
}

bool FuzzPlatform::readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                            bool createIfMissing) {
    out.clear();
    if (const std::string* content = findFile(path)) {
        out = content->substr(0, maxBytes);
        return true;
    }
    if (isDirectory(path) || !createIfMissing || path.empty()) return false;
    addFile(path, std::string());  // created empty, in memory only
    return true;
}

bool FuzzPlatform::createDirectory(const std::string&) {
    ++effects.foldersCreated;
    return false;
}

bool FuzzPlatform::listFolder(const std::string&, std::vector<platform::FolderEntry>&) { return false; }

bool FuzzPlatform::deleteItems(platform::WindowHandle, const std::string&) {
    ++effects.deletions;
    return false;
}

bool FuzzPlatform::fullPathName(const std::string& name, std::string& out) {
    std::string full = isAbsolute(name) ? name : "C:\\Work\\" + name;
    if (name.empty() || full.size() >= cap::path) return false;
    out = full;
    return true;
}

bool FuzzPlatform::searchPath(const std::string* directories, const std::string& name,
                              std::string& out) {
    const std::string list = directories ? *directories : std::string("C:\\Windows;C:\\Windows\\System32");
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t end = list.find(';', pos);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(pos, end - pos);
        if (!folder.empty()) {
            if (folder.back() != '\\') folder += '\\';
            const std::string candidate = folder + name;
            if (findFile(candidate) && candidate.size() < cap::path) {
                out = candidate;
                return true;
            }
        }
        pos = end + 1;
    }
    return false;
}

bool FuzzPlatform::specialFolderPath(platform::WindowHandle, int csidl, std::string& out) {
    // Every folder has a name here but the fonts folder, so both ways of
    // the expansion are taken.
    if (csidl == 0x14) return false;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "C:\\Folders\\F%02X", csidl & 0xFF);
    out = buffer;
    return true;
}

platform::LocalTime FuzzPlatform::localTime() { return platform::LocalTime{2024, 3, 5, 7, 8, 9}; }

bool FuzzPlatform::splitUrl(const std::string& url, UrlParts& parts) {
    return crackUrlPortable(url, parts);
}

int FuzzPlatform::messageBox(platform::WindowHandle, const std::string&, const std::string&, unsigned) {
    ++effects.messages;
    return 1;
}

int FuzzPlatform::shellExecute(platform::WindowHandle, const std::string&, const std::string&,
                               const std::string&) {
    ++effects.starts;
    return 42;
}

int FuzzPlatform::findExecutable(const std::string& document, std::string& program) {
    const std::string name = folded(document);
    if (name.find(".txt") != std::string::npos) {
        program = "C:\\Windows\\notepad.exe";
        return 42;
    }
    if (name.find(".htm") != std::string::npos) {
        program = "\"C:\\Program Files\\Viewer\\viewer.exe\"";
        return 42;
    }
    return 31;
}

// Web URLs have a browser that is not this program, so the loop guard
// lets them through to shellExecute, which counts them.
bool FuzzPlatform::schemeProgram(const std::string& scheme, std::string& program) {
    const std::string name = folded(scheme);
    if (name != "http" && name != "https") return false;
    program = "C:\\Program Files\\Viewer\\viewer.exe";
    return true;
}

bool FuzzPlatform::longFileName(const std::string&, std::string&) { return false; }

std::unique_ptr<platform::ConverterLibrary> FuzzPlatform::loadConverterLibrary(
    const std::string& path) {
    // Only the program's own folder holds the library.
    if (!converterPresent || folded(path) != folded(std::string(fuzzProgramFolder) + "nkf32.dll"))
        return nullptr;
    return std::make_unique<FuzzConverter>(effects.conversions);
}

bool FuzzPlatform::clipboardText(platform::WindowHandle, std::string& out, std::size_t maxBytes) {
    if (!clipboard || clipboard->empty() || maxBytes == 0) return false;
    out = clipboard->substr(0, maxBytes - 1);
    return true;
}

namespace {
// A part file in memory: gone with the object unless kept.
class FuzzPartFile final : public platform::PartFile {
public:
    FuzzPartFile(FuzzPlatform& p, std::string path) : p_(p), path_(std::move(path)) {}
    ~FuzzPartFile() override {
        if (!kept_) p_.deleteFile(path_);
    }
    const std::string& path() const override { return path_; }
    platform::DownloadOutcome write(const char* data, std::size_t size) override {
        p_.appendTo(path_, data, size);
        return platform::DownloadOutcome::ok;
    }
    Keep keepAs(const std::string& to, bool replaceExisting) override {
        if (kept_) return Keep::failed;
        if (!p_.moveFile(path_, to, replaceExisting)) return Keep::nameTaken;
        kept_ = true;
        path_ = to;
        return Keep::kept;
    }

private:
    FuzzPlatform& p_;
    std::string path_;
    bool kept_ = false;
};
}  // namespace

std::shared_ptr<platform::PartFile> FuzzPlatform::createPartFile(const std::string& path, bool& nameTaken) {
    nameTaken = fileExists(path);
    if (nameTaken) return nullptr;
    addFile(path, std::string());
    return std::make_shared<FuzzPartFile>(*this, path);
}

platform::DownloadResult FuzzPlatform::downloadUrl(const std::string&, std::shared_ptr<platform::PartFile> file,
                                                   int, platform::DownloadWatch& watch) {
    ++effects.downloads;
    platform::DownloadResult result;
    result.outcome = platform::DownloadOutcome::openFailed;
    if (!downloadBody) return result;
    platform::DownloadProgress progress;
    progress.received = downloadBody->size();
    result.outcome = platform::DownloadOutcome::cancelled;
    if (!watch.keepGoing(progress)) return result;
    result.outcome = file->write(downloadBody->data(), downloadBody->size());
    return result;
}

void FuzzPlatform::appendTo(const std::string& path, const char* data, std::size_t size) {
    auto it = files_.find(folded(path));
    if (it != files_.end()) it->second.append(data, size);
}

platform::FileStamp FuzzPlatform::fileStamp(const std::string& path) {
    platform::FileStamp stamp;
    if (const std::string* content = findFile(path)) {
        stamp.exists = true;
        stamp.size = content->size();
    }
    return stamp;
}

bool FuzzPlatform::moveFile(const std::string& from, const std::string& to, bool replaceExisting) {
    auto it = files_.find(folded(from));
    if (it == files_.end() || isDirectory(to)) return false;
    if (!replaceExisting && findFile(to)) return false;
    std::string content = std::move(it->second);
    files_.erase(it);
    addFile(to, std::move(content));
    return true;
}

void FuzzPlatform::deleteFile(const std::string& path) {
    ++effects.deletions;
    files_.erase(folded(path));
}

std::unique_ptr<platform::Process> FuzzPlatform::startProcess(const std::string&, const std::string&) {
    ++effects.processStarts;
    return nullptr;
}

FuzzPlatform& fuzzPlatform() {
    static FuzzPlatform* instance = [] {
        auto* p = new FuzzPlatform();
        platform::installPlatform(p);
        return p;
    }();
    return *instance;
}
