// Calls the converter library the way the program does: loads nkf32.dll by
// name, looks up SetNkfOption and NkfConvert, asks for Shift_JIS and
// converts a file into a buffer three times its length, followed by guard
// bytes that must still be intact afterwards.
//
//   nkf_probe.exe convert IN OUT    writes what NkfConvert wrote to OUT
//   nkf_probe.exe option TEXT       prints SetNkfOption's result
//   nkf_probe.exe nulls             NkfConvert with a null input
// Exit code 0 when the calls were made, 1 for a missing library or
// function, 2 for a bad command line or file, 4 when a guard byte was
// overwritten.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace {

using SetNkfOption = int(WINAPI*)(const char*);
using NkfConvert = void(WINAPI*)(char*, const char*);

constexpr unsigned char guardByte = 0xAB;
constexpr std::size_t guardSize = 64;

struct Library {
    HMODULE module = nullptr;
    SetNkfOption option = nullptr;
    NkfConvert convert = nullptr;
};

bool load(Library& lib) {
    lib.module = LoadLibraryA("nkf32.dll");
    if (!lib.module) return false;
    lib.option = reinterpret_cast<SetNkfOption>(reinterpret_cast<void*>(GetProcAddress(lib.module, "SetNkfOption")));
    lib.convert = reinterpret_cast<NkfConvert>(reinterpret_cast<void*>(GetProcAddress(lib.module, "NkfConvert")));
    return lib.option && lib.convert;
}

bool readAll(const char* path, std::string& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return true;
}

int convertFile(Library& lib, const char* in, const char* out) {
    std::string text;
    if (!readAll(in, text)) return 2;
    text.resize(std::strlen(text.c_str()));  // the text ends at its first zero byte
    const std::size_t room = text.empty() ? 1 : 3 * text.size();
    std::vector<unsigned char> buffer(room + guardSize, guardByte);
    lib.option("-s");
    lib.convert(reinterpret_cast<char*>(buffer.data()), text.c_str());
    for (std::size_t i = room; i < buffer.size(); ++i)
        if (buffer[i] != guardByte) return 4;
    std::size_t length = 0;
    while (length < room && buffer[length] != 0) ++length;
    if (length == room) return 4;  // no terminating zero within the room
    FILE* f = std::fopen(out, "wb");
    if (!f) return 2;
    std::fwrite(buffer.data(), 1, length, f);
    std::fclose(f);
    std::printf("length=%u\n", static_cast<unsigned>(length));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Library lib;
    if (!load(lib)) return 1;
    const std::string command = argv[1];
    int result = 2;
    if (command == "convert" && argc == 4) {
        result = convertFile(lib, argv[2], argv[3]);
    } else if (command == "option" && argc == 3) {
        std::printf("result=%d\n", lib.option(argv[2]));
        result = 0;
    } else if (command == "nulls") {
        char out[4] = {'x', 'x', 'x', 'x'};
        lib.convert(out, nullptr);
        lib.convert(nullptr, "abc");
        std::printf("result=%d\n", lib.option(nullptr));
        std::printf("cleared=%d\n", out[0] == '\0' ? 1 : 0);
        result = 0;
    }
    FreeLibrary(lib.module);
    return result;
}
