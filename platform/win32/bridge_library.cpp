// The browser bridge library, loaded by its full path for one call and
// freed when its owner goes. Its functions use the C calling
// convention; any of them may be missing.
#include <memory>

#include "common/capacity.h"
#include "common/text.h"
#include "platform/win32/library_search.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

using GetActiveBrowseInfoFn = int(__cdecl*)(const char*, char*, int);
using GetDdeStrFn = int(__cdecl*)(const char*, char*, char*, char*);
using SetBrowseUrlFn = int(__cdecl*)(const char*, const char*);

constexpr int replyCapacity = 32768;

template <typename Fn>
Fn lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Win32BridgeLibrary final : public BridgeLibrary {
public:
    explicit Win32BridgeLibrary(HMODULE module)
        : module_(module),
          query_(lookUp<GetActiveBrowseInfoFn>(module, "_DDE_GetActiveBrowseInfo")),
          split_(lookUp<GetDdeStrFn>(module, "_GetDDEStr")),
          send_(lookUp<SetBrowseUrlFn>(module, "_DDE_SetBrowseURL")) {}
    ~Win32BridgeLibrary() override { FreeLibrary(module_); }
    Win32BridgeLibrary(const Win32BridgeLibrary&) = delete;
    Win32BridgeLibrary& operator=(const Win32BridgeLibrary&) = delete;

    bool hasGetActiveBrowseInfo() override { return query_ != nullptr; }
    int getActiveBrowseInfo(const std::string& service, std::string& reply) override {
        std::unique_ptr<char[]> buffer(new char[replyCapacity]());
        int answered = query_(service.c_str(), buffer.get(), replyCapacity - 1);
        buffer[replyCapacity - 1] = '\0';  // whatever the library wrote, it ends here
        reply = buffer.get();
        return answered;
    }
    bool hasGetDdeStr() override { return split_ != nullptr; }
    int getDdeStr(const std::string& reply, std::string& url) override {
        char found[cap::path] = {}, title[cap::path] = {}, other[cap::path] = {};
        const int result = split_(reply.c_str(), found, title, other);
        found[cap::path - 1] = '\0';
        url = text::cut(found, cap::path);
        return result;
    }
    bool hasSetBrowseUrl() override { return send_ != nullptr; }
    int setBrowseUrl(const std::string& service, const std::string& url) override {
        return send_(service.c_str(), url.c_str());
    }

private:
    HMODULE module_;
    GetActiveBrowseInfoFn query_;
    GetDdeStrFn split_;
    SetBrowseUrlFn send_;
};

}  // namespace

std::unique_ptr<BridgeLibrary> Win32Platform::loadBridgeLibrary(const std::string& path) {
    HMODULE module = loadLibraryByFullPath(path);
    if (!module) return nullptr;
    return std::make_unique<Win32BridgeLibrary>(module);
}

}  // namespace platform
