// The steerable test platform.
#include "tests/support/fake_platform.h"

#include <cstring>
#include <fstream>

#include "common/split_path.h"
#include "common/text.h"

FakePlatform::FakePlatform()
    : real_(platform::nativePlatform()), previous_(platform::installPlatform(this)) {}

FakePlatform::~FakePlatform() {
    platform::installPlatform(previous_ == &platform::nativePlatform() ? nullptr : previous_);
}

bool FakePlatform::specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) {
    if (useRealSpecialFolders) return real_.specialFolderPath(owner, csidl, out);
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return false;
    out = it->second;
    return true;
}

bool FakePlatform::clipboardText(platform::WindowHandle, std::string& out, std::size_t max) {
    if (!clipboard || clipboard->empty()) return false;
    out = clipboard->substr(0, max ? max - 1 : 0);
    return true;
}

bool FakePlatform::clipboardWideText(platform::WindowHandle, std::u16string& out, std::size_t max) {
    if (!wideClipboard || wideClipboard->empty()) return false;
    out = wideClipboard->substr(0, max ? max - 1 : 0);
    return true;
}

namespace {
class FakeBridge final : public platform::BridgeLibrary {
public:
    explicit FakeBridge(FakePlatform::Bridge& b) : b_(b) {}
    bool hasGetActiveBrowseInfo() override { return b_.hasQuery; }
    int getActiveBrowseInfo(const std::string& service, std::string& reply) override {
        b_.asked.push_back(service);
        auto it = b_.pages.find(service);
        if (it == b_.pages.end()) return 0;
        reply = it->second;
        return 1;
    }
    bool hasGetDdeStr() override { return b_.hasSplit; }
    // Like the library: a URL that does not fit comes back cut, answered
    // as such.
    int getDdeStr(const std::string& reply, std::string& url) override {
        url = reply.substr(0, 259);
        if (url.empty()) return 0;
        return reply.size() > 259 ? -1 : 1;
    }
    bool hasSetBrowseUrl() override { return b_.hasSend; }
    int setBrowseUrl(const std::string& service, const std::string& url) override {
        for (const auto& s : b_.accepting)
            if (s == service) {
                b_.sent.emplace_back(service, url);
                return 1;
            }
        return 0;
    }

private:
    FakePlatform::Bridge& b_;
};
}  // namespace

std::unique_ptr<platform::BridgeLibrary> FakePlatform::loadBridgeLibrary(const std::string& path) {
    libraryPaths.push_back(path);
    if (!bridge) return nullptr;
    return std::make_unique<FakeBridge>(*bridge);
}

namespace {
// The real part file, followed so that the download's record names the
// file where it is kept.
class FakePartFile final : public platform::PartFile {
public:
    FakePartFile(FakePlatform& p, std::shared_ptr<platform::PartFile> real) : p_(p), real_(std::move(real)) {}
    const std::string& path() const override { return real_->path(); }
    platform::DownloadOutcome write(const char* data, std::size_t size) override {
        return real_->write(data, size);
    }
    Keep keepAs(const std::string& to, bool replaceExisting) override {
        const std::string from = real_->path();
        const Keep kept = real_->keepAs(to, replaceExisting);
        if (kept == Keep::kept)
            for (FakePlatform::Download& d : p_.downloads)
                if (d.localPath == from) d.localPath = to;
        return kept;
    }

private:
    FakePlatform& p_;
    std::shared_ptr<platform::PartFile> real_;
};
}  // namespace

std::shared_ptr<platform::PartFile> FakePlatform::createPartFile(const std::string& path, bool& nameTaken) {
    for (const std::string& pending : pendingDeletion) {
        if (pending != path) continue;
        nameTaken = true;
        return nullptr;
    }
    std::shared_ptr<platform::PartFile> real = real_.createPartFile(path, nameTaken);
    if (!real) return nullptr;
    return std::make_shared<FakePartFile>(*this, std::move(real));
}

platform::DownloadResult FakePlatform::downloadUrl(const std::string& url,
                                                  std::shared_ptr<platform::PartFile> file,
                                                  int timeLimit, platform::DownloadWatch& watch) {
    downloads.push_back({url, file->path(), timeLimit, file->path()});
    platform::DownloadResult result = downloadDetails;
    result.outcome = downloadOutcome;
    for (const platform::DownloadProgress& p : downloadProgress) {
        if (watch.keepGoing(p)) continue;
        lingeringParts.push_back(file);
        result = platform::DownloadResult();
        result.outcome = platform::DownloadOutcome::cancelled;
        return result;
    }
    if (downloadOutcome == platform::DownloadOutcome::ok)
        result.outcome = file->write(downloadBody.data(), downloadBody.size());
    return result;
}

namespace {
class FakeProcess final : public platform::Process {
public:
    explicit FakeProcess(FakePlatform& p) : p_(p) { ++p_.processesOpen; }
    ~FakeProcess() override { --p_.processesOpen; }
    bool hasEnded() override {
        ++p_.processChecks;
        return p_.processEnded;
    }

private:
    FakePlatform& p_;
};
}  // namespace

std::unique_ptr<platform::Process> FakePlatform::startProcess(const std::string& program,
                                                              const std::string& parameters) {
    processStarts.push_back({program, parameters});
    if (processStartFails) return nullptr;
    return std::make_unique<FakeProcess>(*this);
}

namespace {
class FakeConverter final : public platform::ConverterLibrary {
public:
    explicit FakeConverter(FakePlatform::Converter& c) : c_(c) { ++c_.loads; }
    ~FakeConverter() override { ++c_.frees; }
    FakeConverter(const FakeConverter&) = delete;
    FakeConverter& operator=(const FakeConverter&) = delete;

    bool hasSetNkfOption() override { return c_.hasSetOption; }
    void setNkfOption(const char* option) override {
        c_.calls.push_back(std::string("SetNkfOption ") + option);
    }
    bool hasNkfConvert() override { return c_.hasConvert; }
    void nkfConvert(char* out, const char* in) override {
        c_.calls.push_back("NkfConvert " + std::to_string(std::strlen(in)));
        write(out, std::string(in));
    }
    bool hasSetJconvOpt() override { return c_.hasSetOption; }
    void setJconvOpt(int option) override {
        c_.calls.push_back("_setjconvopt@4 " + std::to_string(option));
    }
    bool hasJconv() override { return c_.hasConvert; }
    void jconv(int mode, const char* in, int length, int kind, char* out) override {
        c_.calls.push_back("_jconv@20 " + std::to_string(mode) + " " + std::to_string(length) +
                           " " + std::to_string(kind));
        write(out, std::string(in, static_cast<std::size_t>(length)));
    }

private:
    void write(char* out, const std::string& in) {
        std::string converted = c_.convert ? c_.convert(in) : in;
        const std::size_t room = 3 * in.size() + 1;
        if (converted.size() >= room) converted.resize(room - 1);
        std::memcpy(out, converted.c_str(), converted.size() + 1);
    }
    FakePlatform::Converter& c_;
};
}  // namespace

std::unique_ptr<platform::ConverterLibrary> FakePlatform::loadConverterLibrary(
    const std::string& path) {
    libraryPaths.push_back(path);
    const PathParts parts = splitPath(path);
    auto it = converters.find(parts.name + parts.extension);
    if (it == converters.end()) return nullptr;
    return std::make_unique<FakeConverter>(it->second);
}
