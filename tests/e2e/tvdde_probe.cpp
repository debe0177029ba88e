// Calls the browser bridge library the way the program does: loads
// tvDDE.dll by name, looks its functions up by their exported names, calls
// one of them and prints what came back as key=value lines. Byte texts are
// printed and taken in hexadecimal so that quotes and code page 932 bytes
// survive every command line and pipe unchanged. Output buffers are
// followed by guard bytes that must still be intact after the call.
//
//   tvdde_probe.exe query SERVICE [SIZE]   _DDE_GetActiveBrowseInfo
//   tvdde_probe.exe split HEX              _GetDDEStr on the given reply
//   tvdde_probe.exe split @FILE            ... on the raw bytes of FILE
//   tvdde_probe.exe browse SERVICE         query, then split its reply
//   tvdde_probe.exe open SERVICE HEX       _DDE_SetBrowseURL
//   tvdde_probe.exe nulls                  every function with null and
//                                          empty arguments
// Exit code 0 when the calls were made, 1 for a missing library or
// function, 2 for a bad command line, 4 when a guard byte was overwritten.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace {

using GetActiveBrowseInfo = int(__cdecl*)(const char*, char*, int);
using GetDdeStr = int(__cdecl*)(const char*, char*, char*, char*);
using SetBrowseUrl = int(__cdecl*)(const char*, const char*);

constexpr unsigned char guardByte = 0xAB;
constexpr std::size_t guardSize = 64;
constexpr std::size_t fieldSize = 260;
constexpr int replySize = 32768;

struct Library {
    HMODULE module = nullptr;
    GetActiveBrowseInfo query = nullptr;
    GetDdeStr split = nullptr;
    SetBrowseUrl open = nullptr;
};

// A buffer of `size` bytes with guard bytes behind it.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t size) : size_(size), bytes_(size + guardSize, guardByte) {}
    char* data() { return reinterpret_cast<char*>(bytes_.data()); }
    bool intact() const {
        for (std::size_t i = size_; i < bytes_.size(); ++i)
            if (bytes_[i] != guardByte) return false;
        return true;
    }
    // The zero-terminated text at the start; a missing zero shows as the
    // whole buffer.
    std::string text() const {
        std::size_t n = 0;
        while (n < size_ && bytes_[n] != 0) ++n;
        return std::string(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(n));
    }

private:
    std::size_t size_;
    std::vector<unsigned char> bytes_;
};

std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool fromHex(const std::string& hex, std::string& out) {
    if (hex.size() % 2 != 0) return false;
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        char* end = nullptr;
        long value = std::strtol(pair, &end, 16);
        if (end != pair + 2) return false;
        out += static_cast<char>(value);
    }
    return true;
}

bool readWholeFile(const char* path, std::string& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char buffer[4096];
    std::size_t n;
    out.clear();
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return true;
}

bool loadLibrary(Library& lib) {
    lib.module = LoadLibraryA("tvDDE.dll");
    if (!lib.module) {
        std::printf("error=no library\n");
        return false;
    }
    lib.query = reinterpret_cast<GetActiveBrowseInfo>(
        reinterpret_cast<void*>(GetProcAddress(lib.module, "_DDE_GetActiveBrowseInfo")));
    lib.split = reinterpret_cast<GetDdeStr>(
        reinterpret_cast<void*>(GetProcAddress(lib.module, "_GetDDEStr")));
    lib.open = reinterpret_cast<SetBrowseUrl>(
        reinterpret_cast<void*>(GetProcAddress(lib.module, "_DDE_SetBrowseURL")));
    if (!lib.query || !lib.split || !lib.open) {
        std::printf("error=missing function\n");
        return false;
    }
    return true;
}

int report(bool intact) {
    std::printf("guard=%s\n", intact ? "ok" : "broken");
    return intact ? 0 : 4;
}

int runQuery(const Library& lib, const char* service, int size) {
    GuardedBuffer reply(static_cast<std::size_t>(size));
    DWORD start = GetTickCount();
    int result = lib.query(service, reply.data(), size);
    std::printf("result=%d\nms=%lu\nreply=%s\n", result,
                static_cast<unsigned long>(GetTickCount() - start), toHex(reply.text()).c_str());
    return report(reply.intact());
}

int runSplit(const Library& lib, const std::string& replyText) {
    GuardedBuffer url(fieldSize), title(fieldSize), third(fieldSize);
    // Outputs start out dirty: whatever the call leaves must be its own.
    std::memset(url.data(), 'u', fieldSize);
    std::memset(title.data(), 't', fieldSize);
    std::memset(third.data(), 'x', fieldSize);
    int result = lib.split(replyText.c_str(), url.data(), title.data(), third.data());
    std::printf("result=%d\nurl=%s\ntitle=%s\nthird=%s\n", result, toHex(url.text()).c_str(),
                toHex(title.text()).c_str(), toHex(third.text()).c_str());
    return report(url.intact() && title.intact() && third.intact());
}

// The program's own sequence: ask, and on an answer take the URL out.
int runBrowse(const Library& lib, const char* service) {
    GuardedBuffer reply(replySize);
    int answered = lib.query(service, reply.data(), replySize - 1);
    std::printf("answered=%d\n", answered);
    if (!answered) return report(reply.intact());
    GuardedBuffer url(fieldSize), title(fieldSize), third(fieldSize);
    int result = lib.split(reply.data(), url.data(), title.data(), third.data());
    std::printf("result=%d\nurl=%s\ntitle=%s\n", result, toHex(url.text()).c_str(),
                toHex(title.text()).c_str());
    return report(reply.intact() && url.intact() && title.intact() && third.intact());
}

int runOpen(const Library& lib, const char* service, const std::string& url) {
    DWORD start = GetTickCount();
    int result = lib.open(service, url.c_str());
    std::printf("result=%d\nms=%lu\n", result,
                static_cast<unsigned long>(GetTickCount() - start));
    return 0;
}

// Returning at all is the test; the results must all be 0.
int runNulls(const Library& lib) {
    char reply[16] = "dirty";
    char url[fieldSize] = "dirty";
    std::printf("query_null_service=%d\n", lib.query(nullptr, reply, sizeof reply));
    std::printf("query_empty_service=%d\n", lib.query("", reply, sizeof reply));
    std::printf("query_null_reply=%d\n", lib.query("NoSuchService", nullptr, 100));
    std::printf("query_zero_size=%d\n", lib.query("NoSuchService", reply, 0));
    int splitNull = lib.split(nullptr, url, nullptr, nullptr);
    std::printf("split_null_reply=%d url_cleared=%d\n", splitNull, url[0] == '\0');
    std::printf("split_null_outputs=%d\n", lib.split("\"http://a/\",\"t\"", nullptr, nullptr, nullptr));
    std::printf("open_null_service=%d\n", lib.open(nullptr, "http://a/"));
    std::printf("open_null_url=%d\n", lib.open("NoSuchService", nullptr));
    std::printf("open_empty_url=%d\n", lib.open("NoSuchService", ""));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    Library lib;
    if (!loadLibrary(lib)) return 1;
    int code = 2;
    std::string bytes;
    if (command == "query" && (argc == 3 || argc == 4))
        code = runQuery(lib, argv[2], argc == 4 ? std::atoi(argv[3]) : replySize - 1);
    else if (command == "split" && argc == 3 && argv[2][0] == '@' && readWholeFile(argv[2] + 1, bytes))
        code = runSplit(lib, bytes);
    else if (command == "split" && argc == 3 && fromHex(argv[2], bytes))
        code = runSplit(lib, bytes);
    else if (command == "browse" && argc == 3)
        code = runBrowse(lib, argv[2]);
    else if (command == "open" && argc == 4 && fromHex(argv[3], bytes))
        code = runOpen(lib, argv[2], bytes);
    else if (command == "nulls" && argc == 2)
        code = runNulls(lib);
    FreeLibrary(lib.module);
    std::fflush(stdout);
    return code;
}
