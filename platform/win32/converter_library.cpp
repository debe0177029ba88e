// The Japanese code converter libraries, loaded by their full paths for one
// conversion and freed when their owner goes. Their
// functions take their arguments the Windows API way; any may be missing.
#include <memory>
#include <string>

#include "platform/win32/library_search.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

using SetNkfOptionFn = int(WINAPI*)(const char*);
using NkfConvertFn = void(WINAPI*)(char*, const char*);
using SetJconvOptFn = int(WINAPI*)(int);
using JconvFn = int(WINAPI*)(int, const char*, int, int, char*);

template <typename Fn>
Fn lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Win32ConverterLibrary final : public ConverterLibrary {
public:
    explicit Win32ConverterLibrary(HMODULE module)
        : module_(module),
          setNkfOption_(lookUp<SetNkfOptionFn>(module, "SetNkfOption")),
          nkfConvert_(lookUp<NkfConvertFn>(module, "NkfConvert")),
          setJconvOpt_(lookUp<SetJconvOptFn>(module, "_setjconvopt@4")),
          jconv_(lookUp<JconvFn>(module, "_jconv@20")) {}
    ~Win32ConverterLibrary() override { FreeLibrary(module_); }
    Win32ConverterLibrary(const Win32ConverterLibrary&) = delete;
    Win32ConverterLibrary& operator=(const Win32ConverterLibrary&) = delete;

    bool hasSetNkfOption() override { return setNkfOption_ != nullptr; }
    void setNkfOption(const char* option) override { setNkfOption_(option); }
    bool hasNkfConvert() override { return nkfConvert_ != nullptr; }
    void nkfConvert(char* out, const char* in) override { nkfConvert_(out, in); }
    bool hasSetJconvOpt() override { return setJconvOpt_ != nullptr; }
    void setJconvOpt(int option) override { setJconvOpt_(option); }
    bool hasJconv() override { return jconv_ != nullptr; }
    void jconv(int mode, const char* in, int length, int kind, char* out) override {
        jconv_(mode, in, length, kind, out);
    }

private:
    HMODULE module_;
    SetNkfOptionFn setNkfOption_;
    NkfConvertFn nkfConvert_;
    SetJconvOptFn setJconvOpt_;
    JconvFn jconv_;
};

}  // namespace

std::unique_ptr<ConverterLibrary> Win32Platform::loadConverterLibrary(const std::string& path) {
    HMODULE module = loadLibraryByFullPath(path);
    if (!module) return nullptr;
    return std::make_unique<Win32ConverterLibrary>(module);
}

}  // namespace platform
