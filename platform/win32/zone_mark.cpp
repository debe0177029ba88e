// The mark of a file saved from the Internet. Windows' attachment
// services write it where they are present (they follow the system's
// zone settings and policies, and may have the file scanned); elsewhere
// the Zone.Identifier stream is written as they would write it, on a
// volume that keeps streams. Either way the mark is best effort: a file
// system without streams (FAT, many shares) simply keeps the file
// unmarked, and a download never fails for want of its mark.
#include <string>

#include "common/download_safety.h"
#include "platform/win32/scoped.h"
#include "platform/win32/widen.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

// Tavrin's own client id, under which the services keep their state.
constexpr GUID clientGuid = {0x6c1e8f52, 0x3a4d, 0x4b7e, {0x9d, 0x21, 0x5f, 0x0a, 0x8c, 0x73, 0xe4, 0x16}};

// COM on this thread for one call, if it was not there already.
class ComForCall {
public:
    ComForCall() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComForCall() { if (initialised_) CoUninitialize(); }
    ComForCall(const ComForCall&) = delete;
    ComForCall& operator=(const ComForCall&) = delete;

private:
    bool initialised_;
};

// False when the services are not there or did not save the mark.
bool saveWithAttachmentServices(const std::wstring& path, const std::wstring& host,
                                const std::wstring& referrer) {
    ComForCall com;
    IAttachmentExecute* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AttachmentServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAttachmentExecute, reinterpret_cast<void**>(&services))))
        return false;
    services->SetClientGuid(clientGuid);
    bool saved = SUCCEEDED(services->SetLocalPath(path.c_str())) &&
                 SUCCEEDED(services->SetSource(host.c_str()));
    if (saved && !referrer.empty()) services->SetReferrer(referrer.c_str());
    saved = saved && SUCCEEDED(services->Save());
    services->Release();
    return saved;
}

// Whether the file's volume keeps alternate streams. Where it says it
// does not, a name with a colon may well become a file of its own (Wine
// makes "name:Zone.Identifier" a file beside the download).
bool keepsStreams(const std::wstring& path) {
    WCHAR root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return false;
    DWORD flags = 0;
    if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) return false;
    return (flags & FILE_NAMED_STREAMS) != 0;
}

void writeZoneStream(const std::wstring& path, const std::string& text) {
    // Only beside a file that is there: opening the stream of a missing
    // file would create the file.
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES || !keepsStreams(path)) return;
    const std::wstring stream = path + win::widen(zoneStreamSuffix);
    win::ScopedHandle file(CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void Win32Platform::markFromInternet(const std::string& path, const std::string& hostUrl,
                                     const std::string& referrerUrl) {
    const std::wstring widePath = win::widen(path);
    if (widePath.empty()) return;
    const std::string host = withoutUserInfo(hostUrl);
    const std::string referrer = referrerUrl.empty() ? std::string() : withoutUserInfo(referrerUrl);
    if (saveWithAttachmentServices(widePath, win::widen(host), win::widen(referrer))) return;
    writeZoneStream(widePath, zoneIdentifierText(host, referrer));
}

}  // namespace platform
