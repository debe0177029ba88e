// What Windows shows of a program in its file properties, read the way
// Explorer reads it (GetFileVersionInfo, VerQueryValue), its manifest
// resource, and the common controls version a process started from it
// gets (the program's manifest made the active activation context).
//
//   version_probe.exe EXE
// Prints one key=value line each: "fixed" (FILEVERSION a.b.c.d),
// "product_fixed", "translation" (language and code page, hex), every
// string of the record as "string.NAME" in hexadecimal, "manifest" in
// hexadecimal, "comctl32" (the version the library reports: Wine's
// common controls 6 report 5.81) and "comctl32_path" (the file loaded,
// in hexadecimal: version 6 comes from the side-by-side store under
// winsxs). Exit code 0, or 1 when the
// record or the manifest is missing, 2 for a bad command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace {

std::string hex(const void* data, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[p[i] >> 4];
        out += digits[p[i] & 15];
    }
    return out;
}

const char* const stringNames[] = {"CompanyName",      "FileDescription", "FileVersion",
                                   "InternalName",     "LegalCopyright",  "OriginalFilename",
                                   "ProductName",      "ProductVersion"};

bool printVersionRecord(const char* exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe, &ignored);
    if (size == 0) return false;
    std::vector<char> record(size);
    if (!GetFileVersionInfoA(exe, 0, size, record.data())) return false;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return false;
    std::printf("fixed=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
    std::printf("product_fixed=%u.%u.%u.%u\n", HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS));

    WORD* translation = nullptr;
    if (!VerQueryValueA(record.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return false;
    char block[16];
    std::snprintf(block, sizeof block, "%04x%04x", translation[0], translation[1]);
    std::printf("translation=%s\n", block);
    for (const char* name : stringNames) {
        const std::string query = std::string("\\StringFileInfo\\") + block + "\\" + name;
        char* value = nullptr;
        UINT chars = 0;
        if (VerQueryValueA(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) &&
            value)
            std::printf("string.%s=%s\n", name, hex(value, std::strlen(value)).c_str());
    }
    return true;
}

bool printManifest(const char* exe) {
    HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    bool found = false;
    if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL loaded = LoadResource(module, resource);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (data) {
            std::printf("manifest=%s\n", hex(data, SizeofResource(module, resource)).c_str());
            found = true;
        }
    }
    FreeLibrary(module);
    return found;
}

// The common controls a program built with this manifest loads.
void printCommonControlsVersion(const char* exe) {
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe;
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE handle = CreateActCtxA(&context);
    if (handle == INVALID_HANDLE_VALUE) {
        std::printf("comctl32=none\n");
        return;
    }
    ULONG_PTR cookie = 0;
    ActivateActCtx(handle, &cookie);
    if (HMODULE comctl = LoadLibraryA("comctl32.dll")) {
        using GetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
        auto get = reinterpret_cast<GetVersion>(
            reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        if (get && SUCCEEDED(get(&info)))
            std::printf("comctl32=%lu.%lu\n", info.dwMajorVersion, info.dwMinorVersion);
        char path[MAX_PATH] = {};
        GetModuleFileNameA(comctl, path, MAX_PATH);
        std::printf("comctl32_path=%s\n", hex(path, std::strlen(path)).c_str());
        FreeLibrary(comctl);
    }
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(handle);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const bool record = printVersionRecord(argv[1]);
    const bool manifest = printManifest(argv[1]);
    printCommonControlsVersion(argv[1]);
    return record && manifest ? 0 : 1;
}
