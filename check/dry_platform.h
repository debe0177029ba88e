// The platform of a dry run: every call that only looks (file reads,
// existence tests, the search path, program associations, URL splitting,
// special folders, the clock, the clipboard) goes to the real platform;
// every call that would change something (starts, downloads, deletions,
// new folders and files, message boxes, calls into the browser bridge) is
// recorded in the effect log and answered as if it had worked. Files a
// dry download or loader would have saved count as existing afterwards,
// so that the run goes on as Tavrin's would. The clipboard is never read:
// a check must not depend on what the clipboard holds when it runs.
// Names without a folder are taken as Tavrin takes them when its own
// folder is the current one: relative to the settings file's folder, which
// is also the first folder the system search looks in.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "check/effects.h"
#include "platform/platform.h"

// Whether a path names its folder from the root or a drive, not from the
// current folder.
bool rootedPath(const std::string& path);

class DryPlatform final : public platform::Platform {
public:
    // Supplies a code converter library by its path, or null to ask the
    // real platform.
    using ConverterSource =
        std::function<std::unique_ptr<platform::ConverterLibrary>(const std::string&)>;

    DryPlatform(platform::Platform& real, EffectLog& log, ConverterSource converters);
    ~DryPlatform() override;
    DryPlatform(const DryPlatform&) = delete;
    DryPlatform& operator=(const DryPlatform&) = delete;

    // Whether Tavrin would find the browser bridge library.
    bool bridgeLibraryPresent = false;
    // The folder that stands for Tavrin's (with a trailing separator).
    void setProgramFolder(std::string folder) { programFolder_ = std::move(folder); }

    bool isDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                  bool createIfMissing) override;
    bool createDirectory(const std::string& path) override;
    bool listFolder(const std::string& folder, std::vector<platform::FolderEntry>& out) override {
        return real_.listFolder(resolve(folder), out);
    }
    bool deleteItems(platform::WindowHandle owner, const std::string& list) override;
    bool fullPathName(const std::string& name, std::string& out) override {
        return real_.fullPathName(resolve(name), out);
    }
    bool searchPath(const std::string* directories, const std::string& name,
                    std::string& out) override;
    bool specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) override {
        return real_.specialFolderPath(owner, csidl, out);
    }
    platform::LocalTime localTime() override { return real_.localTime(); }
    bool splitUrl(const std::string& url, UrlParts& parts) override {
        return real_.splitUrl(url, parts);
    }
    int messageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned flags) override;
    void setForeground(platform::WindowHandle) override {}
    int shellExecute(platform::WindowHandle owner, const std::string& file,
                     const std::string& parameters, const std::string& directory) override;
    int findExecutable(const std::string& document, std::string& program) override {
        return real_.findExecutable(resolve(document), program);
    }
    // A read of the system's association, as Tavrin's loop guard makes.
    bool schemeProgram(const std::string& scheme, std::string& program) override {
        return real_.schemeProgram(scheme, program);
    }
    bool longFileName(const std::string& path, std::string& name) override {
        return real_.longFileName(resolve(path), name);
    }
    // Keys count as up only as the options of the run say (Shift and Ctrl
    // at start are given, not read from the keyboard).
    bool isKeyDown(int) override { return false; }
    // The same for the menu's wait on a key's release: no key is ever down.
    bool isKeyPhysicallyDown(int) override { return false; }
    void sleep(int milliseconds) override;
    std::unique_ptr<platform::BridgeLibrary> loadBridgeLibrary(const std::string& path) override;
    std::unique_ptr<platform::ConverterLibrary> loadConverterLibrary(
        const std::string& path) override;
    bool clipboardText(platform::WindowHandle, std::string&, std::size_t) override { return false; }
    bool clipboardWideText(platform::WindowHandle, std::u16string&, std::size_t) override {
        return false;
    }
    bool cp932Char(char32_t c, std::string& out) override { return real_.cp932Char(c, out); }
    bool charOfCp932(std::string_view bytes, char32_t& c) override { return real_.charOfCp932(bytes, c); }
    bool wideFileExists(const std::u16string& path) override { return real_.wideFileExists(path); }
    bool wideName(const std::u16string& path, std::string& name) override { return real_.wideName(path, name); }
    unsigned codePage() override { return real_.codePage(); }
    // A name without a folder, in the settings file's folder.
    std::string resolve(const std::string& path) const;
    // A part file made by the dry run alone, never on disk.
    std::shared_ptr<platform::PartFile> createPartFile(const std::string& path, bool& nameTaken) override;
    platform::DownloadResult downloadUrl(const std::string& url, std::shared_ptr<platform::PartFile> file,
                                         int timeLimitSeconds, platform::DownloadWatch& watch) override;
    void markFromInternet(const std::string&, const std::string&, const std::string&) override {}
    std::unique_ptr<platform::Process> startProcess(const std::string& program,
                                                    const std::string& parameters) override;
    bool isHidden(const std::string& path) override;
    // A file the dry run made reads as written anew each time it is made.
    platform::FileStamp fileStamp(const std::string& path) override;
    // Renames only what the dry run made (a dry download's file), and names
    // the download's file in the log by its new name.
    bool renameMade(const std::string& from, const std::string& to, bool replaceExisting);
    void forgetMade(const std::string& path) { madeFiles_.erase(path); }

private:
    platform::Platform& real_;
    std::string programFolder_;
    EffectLog& log_;
    ConverterSource converters_;
    std::set<std::string> madeFiles_;    // saved by a dry download or loader
    std::map<std::string, std::uint64_t> madeTimes_;  // how often each was saved
    std::uint64_t saves_ = 0;
    std::set<std::string> madeFolders_;  // created by the dry run
    bool loaderRunning_ = false;         // a dry loader has not saved yet
};
