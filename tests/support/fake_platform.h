// A platform for tests: forwards to the build's real one (POSIX natively,
// Win32 under Wine) except for the calls a test wants to steer or watch.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class FakePlatform : public platform::Platform {
public:
    FakePlatform();
    ~FakePlatform() override;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Steering.
    std::optional<std::string> clipboard;          // unset: no CF_TEXT
    std::optional<std::u16string> wideClipboard;   // unset: no CF_UNICODETEXT
    std::vector<std::u16string> wideNames;         // exist besides the real files
    std::map<std::u16string, std::string> shortNames;  // wide path -> its name by short names
    std::optional<unsigned> systemCodePage;        // unset: the real one
    std::optional<platform::LocalTime> clock;      // unset: real clock
    std::map<int, std::string> specialFolders;     // csidl -> path; others fail
    bool useRealSpecialFolders = false;

    // Watching.
    struct Shown { std::string text, caption; unsigned flags; };
    std::vector<Shown> messages;
    std::vector<std::string> deleteRequests;
    struct Start { std::string file, parameters, directory; };
    std::vector<Start> starts;                     // shellExecute calls
    int shellResult = 42;                          // what shellExecute answers
    std::map<std::string, std::string> associations;  // document -> program
    std::map<std::string, std::string> schemePrograms;  // "http" -> program
    std::vector<int> sleeps;
    std::vector<int> keysDown;
    // Keys that read as physically down for the next so many polls.
    std::map<int, int> keyHeldForPolls;
    int keyPolls = 0;
    // The bridge library: unset means it is missing.
    struct Bridge {
        bool hasQuery = true, hasSplit = true, hasSend = true;
        std::map<std::string, std::string> pages;  // service -> reply (the URL)
        std::vector<std::string> accepting;        // services that take URLs
        std::vector<std::pair<std::string, std::string>> sent;  // (service, url)
        std::vector<std::string> asked;
    };
    std::optional<Bridge> bridge;
    // Downloads: each call is recorded, hands `downloadProgress` to the
    // watch point by point (a watch that says stop cancels it) and answers
    // `downloadOutcome` with the rest of `downloadDetails`; a successful one
    // writes `downloadBody` into the part file. `localPath` follows the
    // file when it is kept under another name; `writtenTo` is the part file.
    struct Download { std::string url, localPath; int timeLimit; std::string writtenTo; };
    std::vector<Download> downloads;
    std::vector<platform::DownloadProgress> downloadProgress;
    platform::DownloadOutcome downloadOutcome = platform::DownloadOutcome::ok;
    platform::DownloadResult downloadDetails;
    std::string downloadBody = "<html></html>";
    // Names that are refused as in use though no file shows (a file
    // pending deletion).
    std::vector<std::string> pendingDeletion;
    // A cancelled download's part file is held here, as by a transfer
    // thread that was let go, until the test lets go of it.
    std::vector<std::shared_ptr<platform::PartFile>> lingeringParts;
    // The marks written: saved path, address, referring page.
    struct Mark { std::string path, hostUrl, referrerUrl; };
    std::vector<Mark> marks;
    // Loader processes: starts are recorded; with processStartFails none
    // starts. A started process reports processEnded when asked.
    struct ProcessStart { std::string program, parameters; };
    std::vector<ProcessStart> processStarts;
    bool processStartFails = false;
    bool processEnded = false;
    int processChecks = 0;
    int processesOpen = 0;                 // started and not yet let go
    std::vector<std::string> hiddenFiles;  // reported hidden while listed
    // Runs after each sleep is recorded, with the number of sleeps so far:
    // the moment for a scripted loader to act.
    std::function<void(int)> onSleep;
    // Files another program holds without sharing: they exist, but
    // reading them fails.
    std::vector<std::string> heldFiles;
    // Every library asked for, by the path it was asked by.
    std::vector<std::string> libraryPaths;
    // Code converter libraries by file name ("nkf32.dll", "jconv.dll",
    // whatever folder the path names); a name not listed is missing. A converter writes convert(input), cut to
    // the room the caller promises (three times the input), or the input
    // unchanged when convert is unset.
    struct Converter {
        bool hasSetOption = true;  // SetNkfOption / _setjconvopt@4
        bool hasConvert = true;    // NkfConvert / _jconv@20
        std::function<std::string(const std::string&)> convert;
        // "SetNkfOption -s", "NkfConvert 12", "_setjconvopt@4 0",
        // "_jconv@20 0 12 4" (12: the input's length).
        std::vector<std::string> calls;
        int loads = 0, frees = 0;
    };
    std::map<std::string, Converter> converters;

    bool isDirectory(const std::string& p) override { return real_.isDirectory(p); }
    bool fileExists(const std::string& p) override { return real_.fileExists(p); }
    bool readFile(const std::string& p, std::string& out, std::size_t max, bool create) override {
        for (const auto& held : heldFiles) if (held == p) return false;
        return real_.readFile(p, out, max, create);
    }
    bool createDirectory(const std::string& p) override { return real_.createDirectory(p); }
    bool listFolder(const std::string& f, std::vector<platform::FolderEntry>& out) override {
        return real_.listFolder(f, out);
    }
    bool deleteItems(platform::WindowHandle owner, const std::string& list) override {
        deleteRequests.push_back(list);
        return real_.deleteItems(owner, list);
    }
    bool fullPathName(const std::string& n, std::string& out) override { return real_.fullPathName(n, out); }
    bool searchPath(const std::string* dirs, const std::string& n, std::string& out) override {
        return real_.searchPath(dirs, n, out);
    }
    bool specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) override;
    platform::LocalTime localTime() override { return clock ? *clock : real_.localTime(); }
    bool splitUrl(const std::string& url, UrlParts& parts) override { return real_.splitUrl(url, parts); }
    int messageBox(platform::WindowHandle, const std::string& text, const std::string& caption,
                   unsigned flags) override {
        messages.push_back({text, caption, flags});
        return 1;
    }
    void setForeground(platform::WindowHandle) override {}
    bool clipboardText(platform::WindowHandle, std::string& out, std::size_t max) override;
    bool clipboardWideText(platform::WindowHandle, std::u16string& out, std::size_t max) override;
    bool cp932Char(char32_t c, std::string& out) override { return real_.cp932Char(c, out); }
    bool charOfCp932(std::string_view bytes, char32_t& c) override { return real_.charOfCp932(bytes, c); }
    bool wideFileExists(const std::u16string& path) override {
        for (const auto& name : wideNames) if (name == path) return true;
        return real_.wideFileExists(path);
    }
    bool wideName(const std::u16string& path, std::string& name) override {
        const auto found = shortNames.find(path);
        if (found == shortNames.end()) return real_.wideName(path, name);
        name = found->second;
        return true;
    }
    unsigned codePage() override { return systemCodePage ? *systemCodePage : real_.codePage(); }
    int shellExecute(platform::WindowHandle, const std::string& file, const std::string& parameters,
                     const std::string& directory) override {
        starts.push_back({file, parameters, directory});
        return shellResult;
    }
    int findExecutable(const std::string& document, std::string& program) override {
        auto it = associations.find(document);
        if (it == associations.end()) return 31;
        program = it->second;
        return 42;
    }
    bool schemeProgram(const std::string& scheme, std::string& program) override {
        auto it = schemePrograms.find(scheme);
        if (it == schemePrograms.end()) return false;
        program = it->second;
        return true;
    }
    bool longFileName(const std::string& path, std::string& name) override {
        return real_.longFileName(path, name);
    }
    void sleep(int ms) override {
        sleeps.push_back(ms);
        if (onSleep) onSleep(static_cast<int>(sleeps.size()));
    }
    bool isKeyDown(int vk) override {
        for (int k : keysDown) if (k == vk) return true;
        return false;
    }
    bool isKeyPhysicallyDown(int vk) override {
        ++keyPolls;
        auto it = keyHeldForPolls.find(vk);
        if (it == keyHeldForPolls.end() || it->second <= 0) return false;
        --it->second;
        return true;
    }
    std::unique_ptr<platform::BridgeLibrary> loadBridgeLibrary(const std::string& path) override;
    std::shared_ptr<platform::PartFile> createPartFile(const std::string& path, bool& nameTaken) override;
    platform::DownloadResult downloadUrl(const std::string& url, std::shared_ptr<platform::PartFile> file,
                                         int timeLimitSeconds, platform::DownloadWatch& watch) override;
    void markFromInternet(const std::string& path, const std::string& hostUrl,
                          const std::string& referrerUrl) override {
        marks.push_back({path, hostUrl, referrerUrl});
    }
    std::unique_ptr<platform::Process> startProcess(const std::string& program,
                                                    const std::string& parameters) override;
    bool isHidden(const std::string& path) override {
        for (const auto& h : hiddenFiles) if (h == path) return real_.fileExists(path);
        return false;
    }
    std::unique_ptr<platform::ConverterLibrary> loadConverterLibrary(
        const std::string& path) override;
    platform::FileStamp fileStamp(const std::string& path) override { return real_.fileStamp(path); }

private:
    platform::Platform& real_;
    platform::Platform* previous_;
};
