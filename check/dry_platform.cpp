// The dry run's platform: looks through to the real one, records the rest.
#include "check/dry_platform.h"

namespace {

// A dry bridge library: it offers nothing and no browser takes anything,
// but every call that would reach a browser is written down.
class DryBridge final : public platform::BridgeLibrary {
public:
    explicit DryBridge(EffectLog& log) : log_(log) {}
    bool hasGetActiveBrowseInfo() override { return true; }
    int getActiveBrowseInfo(const std::string& service, std::string&) override {
        Effect e;
        e.kind = Effect::Kind::browserQuery;
        e.file = service;
        log_.add(e);
        return 0;
    }
    bool hasGetDdeStr() override { return true; }
    int getDdeStr(const std::string&, std::string&) override { return 0; }
    bool hasSetBrowseUrl() override { return true; }
    int setBrowseUrl(const std::string& service, const std::string& url) override {
        Effect e;
        e.kind = Effect::Kind::browserSend;
        e.file = service;
        e.parameters = url;
        log_.add(e);
        return 0;
    }

private:
    EffectLog& log_;
};

// A loader that has already finished.
class DryProcess final : public platform::Process {
public:
    bool hasEnded() override { return true; }
};

}  // namespace

DryPlatform::DryPlatform(platform::Platform& real, EffectLog& log, ConverterSource converters)
    : real_(real), log_(log), converters_(std::move(converters)) {}

DryPlatform::~DryPlatform() = default;

bool rootedPath(const std::string& path) {
    return !path.empty() && (path[0] == '\\' || path[0] == '/' ||
                             (path.size() >= 2 && path[1] == ':' && static_cast<unsigned char>(path[0]) < 0x80));
}

std::string DryPlatform::resolve(const std::string& path) const {
    if (programFolder_.empty() || path.empty()) return path;
    return rootedPath(path) ? path : programFolder_ + path;
}

bool DryPlatform::searchPath(const std::string* directories, const std::string& name, std::string& out) {
    // The system search begins in the folder of the program that searches:
    // Tavrin's own.
    if (!directories && !programFolder_.empty() && resolve(name) != name &&
        real_.fileExists(programFolder_ + name) && !real_.isDirectory(programFolder_ + name))
        return real_.fullPathName(programFolder_ + name, out);
    return real_.searchPath(directories, name, out);
}

bool DryPlatform::isDirectory(const std::string& path) {
    return madeFolders_.count(path) > 0 || real_.isDirectory(resolve(path));
}

bool DryPlatform::fileExists(const std::string& path) {
    if (madeFiles_.count(path) || madeFolders_.count(path) || real_.fileExists(resolve(path))) return true;
    if (!loaderRunning_) return false;
    // The loader's file is the first one Tavrin waits for.
    loaderRunning_ = false;
    madeFiles_.insert(path);
    Effect e;
    e.kind = Effect::Kind::loaderSaves;
    e.file = path;
    log_.add(e);
    return true;
}

bool DryPlatform::readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                           bool createIfMissing) {
    if (real_.readFile(resolve(path), out, maxBytes, false)) return true;
    if (madeFiles_.count(path)) {
        out.clear();
        return true;
    }
    if (!createIfMissing || real_.fileExists(resolve(path))) return false;
    // Opened like OPEN_ALWAYS: Tavrin would create the file empty.
    Effect e;
    e.kind = Effect::Kind::createFile;
    e.file = path;
    log_.add(e);
    madeFiles_.insert(path);
    out.clear();
    return true;
}

bool DryPlatform::createDirectory(const std::string& path) {
    Effect e;
    e.kind = Effect::Kind::createFolder;
    e.file = path;
    log_.add(e);
    madeFolders_.insert(path);
    return true;
}

bool DryPlatform::deleteItems(platform::WindowHandle, const std::string& list) {
    Effect e;
    e.kind = Effect::Kind::deleteItems;
    e.file = list.substr(0, list.find('\0'));
    log_.add(e);
    return true;
}

int DryPlatform::messageBox(platform::WindowHandle, const std::string& text,
                            const std::string& caption, unsigned) {
    Effect e;
    e.kind = Effect::Kind::message;
    e.file = text;
    e.parameters = caption;
    log_.add(e);
    return 1;  // IDOK
}

int DryPlatform::shellExecute(platform::WindowHandle, const std::string& file,
                              const std::string& parameters, const std::string& directory) {
    Effect e;
    e.kind = Effect::Kind::start;
    e.file = file;
    e.parameters = parameters;
    e.directory = directory;
    e.ifNoBrowserTakes = log_.browserOfferedSinceHandOver();
    if (log_.handOverJustMade())
        e.unasked = bridgeLibraryPresent ? Effect::Unasked::noBrowserNamed : Effect::Unasked::noBridge;
    log_.add(e);
    return 42;  // above 32: accepted
}

void DryPlatform::sleep(int milliseconds) {
    if (loaderRunning_) return;  // the loader's polls are not pauses of their own
    Effect e;
    e.kind = Effect::Kind::pause;
    e.number = milliseconds;
    log_.add(e);
}

std::unique_ptr<platform::BridgeLibrary> DryPlatform::loadBridgeLibrary(const std::string&) {
    if (!bridgeLibraryPresent) return nullptr;
    return std::make_unique<DryBridge>(log_);
}

std::unique_ptr<platform::ConverterLibrary> DryPlatform::loadConverterLibrary(
    const std::string& path) {
    if (converters_) {
        if (auto library = converters_(path)) return library;
    }
    return real_.loadConverterLibrary(path);
}

namespace {
class DryPartFile final : public platform::PartFile {
public:
    DryPartFile(DryPlatform& p, std::string path) : p_(p), path_(std::move(path)) {}
    ~DryPartFile() override {
        if (!kept_) p_.forgetMade(path_);
    }
    const std::string& path() const override { return path_; }
    platform::DownloadOutcome write(const char*, std::size_t) override { return platform::DownloadOutcome::ok; }
    Keep keepAs(const std::string& to, bool replaceExisting) override {
        if (kept_ || !p_.renameMade(path_, to, replaceExisting)) return Keep::nameTaken;
        kept_ = true;
        path_ = to;
        return Keep::kept;
    }

private:
    DryPlatform& p_;
    std::string path_;
    bool kept_ = false;
};
}  // namespace

std::shared_ptr<platform::PartFile> DryPlatform::createPartFile(const std::string& path, bool& nameTaken) {
    nameTaken = fileExists(path);
    if (nameTaken) return nullptr;
    madeFiles_.insert(path);
    madeTimes_[path] = ++saves_;
    return std::make_shared<DryPartFile>(*this, path);
}

platform::DownloadResult DryPlatform::downloadUrl(const std::string& url,
                                                 std::shared_ptr<platform::PartFile> file, int,
                                                 platform::DownloadWatch&) {
    Effect e;
    e.kind = Effect::Kind::download;
    e.file = url;
    e.parameters = file->path();
    log_.add(e);
    platform::DownloadResult result;
    result.outcome = platform::DownloadOutcome::ok;
    result.finalUrl = url;
    return result;
}

platform::FileStamp DryPlatform::fileStamp(const std::string& path) {
    platform::FileStamp stamp = real_.fileStamp(resolve(path));
    if (loaderRunning_) {
        // The loader's file is the first one Tavrin waits for.
        loaderRunning_ = false;
        madeFiles_.insert(path);
        madeTimes_[path] = ++saves_;
        Effect e;
        e.kind = Effect::Kind::loaderSaves;
        e.file = path;
        log_.add(e);
    }
    if (madeFiles_.count(path)) {
        stamp.exists = true;
        stamp.writeTime += madeTimes_[path];
    }
    return stamp;
}

bool DryPlatform::renameMade(const std::string& from, const std::string& to, bool replaceExisting) {
    if (!madeFiles_.count(from)) return false;
    if (isDirectory(to) || (!replaceExisting && fileExists(to))) return false;
    madeFiles_.erase(from);
    madeFiles_.insert(to);
    madeTimes_[to] = madeTimes_[from];
    log_.renameDownload(from, to);
    return true;
}

std::unique_ptr<platform::Process> DryPlatform::startProcess(const std::string& program,
                                                             const std::string& parameters) {
    Effect e;
    e.kind = Effect::Kind::loaderStart;
    e.file = program;
    e.parameters = parameters;
    log_.add(e);
    loaderRunning_ = true;
    return std::make_unique<DryProcess>();
}

bool DryPlatform::isHidden(const std::string& path) {
    return madeFiles_.count(path) == 0 && real_.isHidden(resolve(path));
}
