// The platform the fuzz targets drive the core through. It never touches
// the real file system and never starts anything: files live in a small
// in-memory table (a target serves its input where a file is read), and
// every effect (a start, a message box, a download, a deletion) is counted
// and refused or answered from the table. Everything it answers is fixed,
// so each run of a target depends on its input alone.
#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class FuzzPlatform final : public platform::Platform {
public:
    FuzzPlatform();
    FuzzPlatform(const FuzzPlatform&) = delete;
    FuzzPlatform& operator=(const FuzzPlatform&) = delete;

    // Forgets the files, folders and counts of the previous run.
    void reset();

    // The in-memory file system. Names compare without regard to ASCII
    // case, as Windows compares them.
    void addFile(const std::string& path, std::string content);
    void addFolder(const std::string& path);
    // Every name that ends in `suffix` (ASCII case folded) is a file with
    // this content; the first matching rule wins.
    void addFilesEnding(const std::string& suffix, std::string content);
    // Every name that ends in `suffix` is a folder.
    void addFoldersEnding(const std::string& suffix);

    // Clipboard text; unset means there is none.
    std::optional<std::string> clipboard;
    // With a body, a download succeeds and stores it under the local name;
    // without, it fails as if the server could not be reached.
    std::optional<std::string> downloadBody;
    // Serve "nkf32.dll" with the converter library's portable conversion.
    bool converterPresent = false;

    // What the core asked for in this run.
    struct Effects {
        int starts = 0;           // shellExecute
        int processStarts = 0;    // startProcess (always refused)
        int messages = 0;
        int downloads = 0;
        int deletions = 0;
        int foldersCreated = 0;
        long long sleptMs = 0;
        int conversions = 0;
    };
    Effects effects;

    bool isDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                  bool createIfMissing) override;
    bool createDirectory(const std::string& path) override;
    bool listFolder(const std::string& folder, std::vector<platform::FolderEntry>& out) override;
    bool deleteItems(platform::WindowHandle owner, const std::string& list) override;
    bool fullPathName(const std::string& name, std::string& out) override;
    bool searchPath(const std::string* directories, const std::string& name,
                    std::string& out) override;
    bool specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) override;
    platform::LocalTime localTime() override;
    bool splitUrl(const std::string& url, UrlParts& parts) override;
    int messageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned flags) override;
    void setForeground(platform::WindowHandle) override {}
    int shellExecute(platform::WindowHandle owner, const std::string& file,
                     const std::string& parameters, const std::string& directory) override;
    int findExecutable(const std::string& document, std::string& program) override;
    bool schemeProgram(const std::string& scheme, std::string& program) override;
    bool longFileName(const std::string& path, std::string& name) override;
    bool isKeyDown(int) override { return false; }
    bool isKeyPhysicallyDown(int) override { return false; }
    void sleep(int milliseconds) override { effects.sleptMs += milliseconds; }
    std::unique_ptr<platform::BridgeLibrary> loadBridgeLibrary(const std::string&) override {
        return nullptr;
    }
    std::unique_ptr<platform::ConverterLibrary> loadConverterLibrary(
        const std::string& path) override;
    bool clipboardText(platform::WindowHandle owner, std::string& out,
                       std::size_t maxBytes) override;
    // No wide text on the clipboard; the code page is iconv's; no name
    // that the code page cannot hold exists.
    bool clipboardWideText(platform::WindowHandle, std::u16string&, std::size_t) override {
        return false;
    }
    bool cp932Char(char32_t c, std::string& out) override {
        return platform::nativePlatform().cp932Char(c, out);
    }
    bool charOfCp932(std::string_view bytes, char32_t& c) override {
        return platform::nativePlatform().charOfCp932(bytes, c);
    }
    bool wideFileExists(const std::u16string&) override { return false; }
    bool wideName(const std::u16string&, std::string&) override { return false; }
    unsigned codePage() override { return 932; }
    std::shared_ptr<platform::PartFile> createPartFile(const std::string& path, bool& nameTaken) override;
    platform::DownloadResult downloadUrl(const std::string& url, std::shared_ptr<platform::PartFile> file,
                                         int timeLimitSeconds, platform::DownloadWatch& watch) override;
    void markFromInternet(const std::string&, const std::string&, const std::string&) override {}
    std::unique_ptr<platform::Process> startProcess(const std::string& program,
                                                    const std::string& parameters) override;
    bool isHidden(const std::string&) override { return false; }
    platform::FileStamp fileStamp(const std::string& path) override;
    // The part files' doings in the in-memory file system.
    bool moveFile(const std::string& from, const std::string& to, bool replaceExisting);
    void deleteFile(const std::string& path);
    void appendTo(const std::string& path, const char* data, std::size_t size);

private:
    const std::string* findFile(const std::string& path) const;

    std::map<std::string, std::string> files_;  // folded name -> content
    std::vector<std::string> folders_;          // folded names, no trailing separator
    std::vector<std::pair<std::string, std::string>> fileRules_;  // folded suffix, content
    std::vector<std::string> folderRules_;      // folded suffixes
};

// The one platform of a fuzz target, installed on first use.
FuzzPlatform& fuzzPlatform();
