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

platform::DownloadOutcome FakePlatform::downloadUrl(const std::string& url,
                                                   const std::string& localPath, int timeLimit,
                                                   platform::DownloadWatch& watch) {
    downloads.push_back({url, localPath, timeLimit, localPath});
    // The real platform never writes over a file.
    if (real_.fileExists(localPath)) return platform::DownloadOutcome::fileNotCreated;
    for (const platform::DownloadProgress& p : downloadProgress) {
        if (!watch.keepGoing(p)) return platform::DownloadOutcome::cancelled;
    }
    if (downloadOutcome == platform::DownloadOutcome::ok) {
        // Backslashes name folders natively too (as the POSIX platform
        // reads them); the standard library takes slashes everywhere.
        std::string path = localPath;
        for (char& c : path) if (c == '\\') c = '/';
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << downloadBody;
    }
    return downloadOutcome;
}

bool FakePlatform::moveFile(const std::string& from, const std::string& to, bool replace) {
    moves.push_back({from, to, replace});
    if (!real_.moveFile(from, to, replace)) return false;
    for (Download& d : downloads)
        if (d.localPath == from) d.localPath = to;
    return true;
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
