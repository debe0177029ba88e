// The Win32 implementation of the platform layer, declared once and
// defined across small files by concern (files, shell, clipboard, code
// page, URL split, messages).
#pragma once
#include "platform/platform.h"

namespace platform {

class Win32Platform final : public Platform {
public:
    bool isDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool readFile(const std::string& path, std::string& out, std::size_t maxBytes,
                  bool createIfMissing) override;
    bool createDirectory(const std::string& path) override;
    bool listFolder(const std::string& folderWithSeparator,
                    std::vector<FolderEntry>& out) override;
    bool deleteItems(WindowHandle owner, const std::string& list) override;
    bool fullPathName(const std::string& name, std::string& out) override;
    bool searchPath(const std::string* directories, const std::string& name,
                    std::string& out) override;
    bool specialFolderPath(WindowHandle owner, int csidl, std::string& out) override;
    LocalTime localTime() override;
    bool splitUrl(const std::string& url, UrlParts& parts) override;
    int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   unsigned flags) override;
    void setForeground(WindowHandle window) override;
    bool clipboardText(WindowHandle owner, std::string& out, std::size_t maxBytes) override;
    bool clipboardWideText(WindowHandle owner, std::u16string& out, std::size_t maxUnits) override;
    bool cp932Char(char32_t c, std::string& out) override;
    bool charOfCp932(std::string_view bytes, char32_t& c) override;
    bool wideFileExists(const std::u16string& path) override;
    bool wideName(const std::u16string& path, std::string& name) override;
    unsigned codePage() override;
    int shellExecute(WindowHandle owner, const std::string& file, const std::string& parameters,
                     const std::string& directory) override;
    int findExecutable(const std::string& document, std::string& program) override;
    bool schemeProgram(const std::string& scheme, std::string& program) override;
    bool longFileName(const std::string& path, std::string& name) override;
    bool isKeyDown(int virtualKey) override;
    bool isKeyPhysicallyDown(int virtualKey) override;
    void sleep(int milliseconds) override;
    std::unique_ptr<BridgeLibrary> loadBridgeLibrary(const std::string& path) override;
    std::shared_ptr<PartFile> createPartFile(const std::string& path, bool& nameTaken) override;
    DownloadResult downloadUrl(const std::string& url, std::shared_ptr<PartFile> file,
                               int stallSeconds, DownloadWatch& watch) override;
    void markFromInternet(const std::string& path, const std::string& hostUrl,
                          const std::string& referrerUrl) override;
    std::unique_ptr<Process> startProcess(const std::string& program,
                                          const std::string& parameters) override;
    bool isHidden(const std::string& path) override;
    FileStamp fileStamp(const std::string& path) override;
    std::unique_ptr<ConverterLibrary> loadConverterLibrary(const std::string& path) override;
};

}  // namespace platform
