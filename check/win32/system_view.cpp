// The system view of the Windows build: the registry and files through the
// wide calls, so that names of any script are read whole; UTF-8 only at
// this interface.
#include "check/win32/system_view.h"

#include <string>

#include "common/unicode.h"
#include "platform/platform.h"
#include "platform/win32/code_page.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"

namespace {

static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");

std::wstring wide(const std::string& utf8) {
    const std::u16string w = unicode::fromUtf8(utf8);
    return std::wstring(w.begin(), w.end());
}

std::string utf8(const WCHAR* text, std::size_t length) {
    const std::u16string_view w(reinterpret_cast<const char16_t*>(text), length);
    std::string out;
    for (std::size_t i = 0; i < w.size();) unicode::appendUtf8(out, unicode::next(w, i));
    return out;
}

std::string utf8(const std::wstring& text) { return utf8(text.c_str(), text.size()); }

HKEY rootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::currentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::localMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::classesRoot: break;
    }
    return HKEY_CLASSES_ROOT;
}

REGSAM viewFlag(RegistryView view) {
    switch (view) {
        case RegistryView::sixtyFour: return KEY_WOW64_64KEY;
        case RegistryView::thirtyTwo: return KEY_WOW64_32KEY;
        case RegistryView::own: break;
    }
    return 0;
}

bool openKey(RegistryRoot root, RegistryView view, const std::string& key, win::ScopedKey& out) {
    return RegOpenKeyExW(rootKey(root), wide(key).c_str(), 0, KEY_READ | viewFlag(view), out.put()) ==
           ERROR_SUCCESS;
}

// Every character of the path in code page 932, exactly.
bool inCodePage(const std::wstring& path, std::string& out) {
    const std::u16string_view w(reinterpret_cast<const char16_t*>(path.c_str()), path.size());
    std::string bytes;
    for (std::size_t i = 0; i < w.size();)
        if (!platform::nativePlatform().cp932Char(unicode::next(w, i), bytes)) return false;
    out = bytes;
    return true;
}

// The identity of a file or folder: its volume and index.
bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    win::ScopedHandle file(CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

class Win32SystemView final : public SystemView {
public:
    bool hasRegistry() const override { return true; }

    bool subkeys(RegistryRoot root, RegistryView view, const std::string& key,
                 std::vector<std::string>& names) override {
        win::ScopedKey k;
        if (!openKey(root, view, key, k)) return false;
        for (DWORD i = 0; i < 10000; ++i) {
            WCHAR name[256];
            DWORD length = 256;
            const LONG r = RegEnumKeyExW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (r == ERROR_NO_MORE_ITEMS) break;
            if (r == ERROR_SUCCESS) names.push_back(utf8(name, length));
        }
        return true;
    }

    bool stringValue(RegistryRoot root, RegistryView view, const std::string& key, const std::string& name,
                     std::string& data) override {
        win::ScopedKey k;
        if (!openKey(root, view, key, k)) return false;
        const std::wstring valueName = wide(name);
        DWORD type = 0, size = 0;
        const WCHAR* wname = name.empty() ? nullptr : valueName.c_str();
        if (RegQueryValueExW(k.get(), wname, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > 65536) return false;
        std::wstring buffer(size / sizeof(WCHAR) + 1, L'\0');
        DWORD got = size;
        if (RegQueryValueExW(k.get(), wname, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &got) !=
            ERROR_SUCCESS)
            return false;
        buffer.resize(std::min<std::size_t>(got / sizeof(WCHAR), buffer.size()));
        const std::size_t end = buffer.find(L'\0');
        if (end != std::wstring::npos) buffer.resize(end);
        if (type == REG_EXPAND_SZ) {
            WCHAR expanded[32768];
            const DWORD n = ExpandEnvironmentStringsW(buffer.c_str(), expanded, 32768);
            if (n > 0 && n <= 32768) buffer = expanded;
        }
        data = utf8(buffer);
        return true;
    }

    bool keyExists(RegistryRoot root, RegistryView view, const std::string& key) override {
        win::ScopedKey k;
        return openKey(root, view, key, k);
    }

    bool userFolder(const std::string& name, std::string& path) override {
        int csidl = -1;
        if (name == "LOCALAPPDATA") csidl = CSIDL_LOCAL_APPDATA;
        else if (name == "APPDATA") csidl = CSIDL_APPDATA;
        WCHAR buffer[MAX_PATH + 1] = {};
        if (csidl >= 0) {
            if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) || !buffer[0])
                return false;
            path = utf8(std::wstring(buffer)) + "\\";
            return true;
        }
        WCHAR value[32768];
        const DWORD n = GetEnvironmentVariableW(wide(name).c_str(), value, 32768);
        if (n == 0 || n >= 32768) return false;
        path = utf8(value, n);
        if (path.back() != '\\') path += '\\';
        return true;
    }

    std::string ownFolder() override {
        std::wstring path(32768, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], 32768);
        path.resize(n);
        const std::size_t slash = path.find_last_of(L"\\/");
        return utf8(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1));
    }

    char separator() const override { return '\\'; }

    bool searchProgram(const std::string& name, std::string& path) override {
        std::wstring found(32768, L'\0');
        const DWORD n = SearchPathW(nullptr, wide(name).c_str(), L".exe", 32768, &found[0], nullptr);
        if (n == 0 || n >= 32768) return false;
        found.resize(n);
        path = utf8(found);
        return true;
    }

    bool isFile(const std::string& path) override {
        const DWORD a = GetFileAttributesW(wide(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool isDirectory(const std::string& path) override {
        const DWORD a = GetFileAttributesW(wide(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }

    FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes) override {
        if (isDirectory(path)) return FileRead::folder;
        if (!isFile(path)) return FileRead::missing;
        // The browser may be writing the file: share everything.
        win::ScopedHandle file(CreateFileW(wide(path).c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return FileRead::unreadable;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.get(), &size)) return FileRead::unreadable;
        if (static_cast<unsigned long long>(size.QuadPart) > limit) return FileRead::tooLarge;
        bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            if (!ReadFile(file.get(), &bytes[done], want, &got, nullptr)) return FileRead::unreadable;
            if (got == 0) break;
            done += got;
        }
        bytes.resize(done);
        return FileRead::ok;
    }

    bool sameFile(const std::string& a, const std::string& b) override {
        BY_HANDLE_FILE_INFORMATION x, y;
        if (!fileIdentity(a, x) || !fileIdentity(b, y)) return false;
        return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
               x.nFileIndexLow == y.nFileIndexLow;
    }

    bool canWriteIn(const std::string& folder) override {
        std::wstring name = wide(folder);
        if (!name.empty() && name.back() != L'\\') name += L'\\';
        name += L"~tavrin-doctor-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        // Removed by the system when the handle closes.
        win::ScopedHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        return file.valid();
    }

    bool tavrinPath(const std::string& path, std::string& cp932) override {
        const std::wstring w = wide(path);
        if (inCodePage(w, cp932)) return true;
        std::wstring shortPath(32768, L'\0');
        const DWORD n = GetShortPathNameW(w.c_str(), &shortPath[0], 32768);
        if (n == 0 || n >= 32768) return false;
        shortPath.resize(n);
        return inCodePage(shortPath, cp932);
    }

    std::string systemPath(const std::string& cp932) override {
        if (cp932.empty()) return std::string();
        const std::u16string w = platform::wideFromCp932(cp932);
        if (w.empty()) return cp932;
        std::string out;
        for (std::size_t i = 0; i < w.size();) unicode::appendUtf8(out, unicode::next(w, i));
        return out;
    }
};

}  // namespace

std::unique_ptr<SystemView> windowsSystemView() { return std::make_unique<Win32SystemView>(); }
