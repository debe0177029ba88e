// A stand-in for a web browser's DDE server, for tests of the browser
// bridge. It registers one service name, answers WWW_GetWindowInfo with a
// configured reply, records the URLs it is asked to open, and can refuse
// or hang on request. It shows no window and ends after a time limit or
// when a stop file appears.
//
//   fake_browser.exe --service NAME [options]
//     --reply TEXT        the WWW_GetWindowInfo answer
//                         (default "http://www.example.com/","Example","")
//     --reply-file F      the answer is the raw bytes of F
//     --unterminated      send the answer without its terminating zero
//     --open-result TEXT  answer an accepted WWW_OpenURL request with this
//                         text instead of the binary window number 1
//     --window-id N       answer it with the binary window number N instead
//                         (decimal or 0x hexadecimal; four bytes, no zero
//                         byte after them)
//     --refuse            give no window information; answer WWW_OpenURL
//                         with window number 0 (request) or "not processed"
//                         (execute)
//     --hang              accept conversations but never answer
//     --log F             append each URL taken by WWW_OpenURL, one a line
//     --trace F           append each transaction: kind, topic, item or data
//     --ready F           created once the service is registered
//     --stop F            end as soon as F exists
//     --seconds N         end after N seconds (default 60)
// Exit code 0 after a normal end, 2 for a bad command line, 3 when the
// service cannot be registered.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bridge/tvdde/reply_parse.h"
#include "platform/win32/win.h"

namespace {

struct Options {
    std::string service;
    std::string reply = "\"http://www.example.com/\",\"Example\",\"\"";
    bool terminated = true;
    bool openResultText = false;
    std::string openResult;
    DWORD windowId = 1;
    bool refuse = false;
    bool hang = false;
    std::string logPath;
    std::string tracePath;
    std::string readyPath;
    std::string stopPath;
    DWORD seconds = 60;
};

Options options;
DWORD instance = 0;

bool readWholeFile(const std::string& path, std::string& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[4096];
    std::size_t n;
    out.clear();
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return true;
}

// Each record is appended and the file closed again, so a test can read it
// while this program still runs.
void appendLine(const std::string& path, const std::string& line) {
    if (path.empty()) return;
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return;
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
    std::fclose(f);
}

std::string stringOf(HSZ handle) {
    char buffer[256] = {};
    if (handle) DdeQueryStringA(instance, handle, buffer, sizeof buffer, CP_WINANSI);
    return buffer;
}

std::string dataOf(HDDEDATA data) {
    if (!data) return std::string();
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(&bytes[0]), size, 0);
    std::size_t end = bytes.find('\0');
    if (end != std::string::npos) bytes.resize(end);
    return bytes;
}

bool sameText(const std::string& a, const char* b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b, -1) == CSTR_EQUAL;
}

bool isWindowInfo(const std::string& topic) { return sameText(topic, "WWW_GetWindowInfo"); }
bool isOpenUrl(const std::string& topic) { return sameText(topic, "WWW_OpenURL"); }

HDDEDATA makeData(const void* bytes, std::size_t size, HSZ item) {
    return DdeCreateDataHandle(instance, static_cast<LPBYTE>(const_cast<void*>(bytes)),
                               static_cast<DWORD>(size), 0, item, CF_TEXT, 0);
}

HDDEDATA answerWindowInfo(HSZ item) {
    if (options.refuse) return nullptr;
    return makeData(options.reply.c_str(), options.reply.size() + (options.terminated ? 1 : 0),
                    item);
}

// The URL is the first field of the argument list, read the way the
// library writes it. Only URLs that were taken are logged.
void takeUrl(const std::string& arguments) {
    if (!options.refuse) appendLine(options.logPath, tvdde::readReplyField(arguments, 0).text);
}

HDDEDATA answerOpenUrlRequest(HSZ item) {
    takeUrl(stringOf(item));
    if (options.openResultText && !options.refuse)
        return makeData(options.openResult.c_str(), options.openResult.size() + 1, item);
    const DWORD window = options.refuse ? 0 : options.windowId;
    return makeData(&window, sizeof window, item);
}

HDDEDATA ddeResult(ULONG_PTR value) { return reinterpret_cast<HDDEDATA>(value); }

HDDEDATA CALLBACK serverCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2,
                                 HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT: {
        std::string topic = stringOf(hsz1);
        return ddeResult(isWindowInfo(topic) || isOpenUrl(topic));
    }
    case XTYP_REQUEST: {
        std::string topic = stringOf(hsz1);
        appendLine(options.tracePath, "request " + topic + " " + stringOf(hsz2));
        if (options.hang) return CBR_BLOCK;
        if (format != CF_TEXT) return nullptr;
        if (isWindowInfo(topic)) return answerWindowInfo(hsz2);
        if (isOpenUrl(topic)) return answerOpenUrlRequest(hsz2);
        return nullptr;
    }
    case XTYP_EXECUTE: {
        std::string topic = stringOf(hsz1);
        std::string command = dataOf(data);
        appendLine(options.tracePath, "execute " + topic + " " + command);
        if (options.hang) return CBR_BLOCK;
        if (!isOpenUrl(topic)) return ddeResult(DDE_FNOTPROCESSED);
        takeUrl(command);
        return ddeResult(options.refuse ? DDE_FNOTPROCESSED : DDE_FACK);
    }
    default:
        return nullptr;
    }
}

bool parseArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string number;
        if (a == "--service") { if (!value(options.service)) return false; }
        else if (a == "--reply") { if (!value(options.reply)) return false; }
        else if (a == "--reply-file") {
            std::string path;
            if (!value(path) || !readWholeFile(path, options.reply)) return false;
        }
        else if (a == "--unterminated") options.terminated = false;
        else if (a == "--open-result") {
            if (!value(options.openResult)) return false;
            options.openResultText = true;
        }
        else if (a == "--window-id") {
            if (!value(number)) return false;
            options.windowId = static_cast<DWORD>(std::strtoul(number.c_str(), nullptr, 0));
        }
        else if (a == "--refuse") options.refuse = true;
        else if (a == "--hang") options.hang = true;
        else if (a == "--log") { if (!value(options.logPath)) return false; }
        else if (a == "--trace") { if (!value(options.tracePath)) return false; }
        else if (a == "--ready") { if (!value(options.readyPath)) return false; }
        else if (a == "--stop") { if (!value(options.stopPath)) return false; }
        else if (a == "--seconds") {
            if (!value(number)) return false;
            options.seconds = static_cast<DWORD>(std::strtoul(number.c_str(), nullptr, 10));
        }
        else return false;
    }
    return !options.service.empty();
}

bool stopRequested() {
    return !options.stopPath.empty() &&
           GetFileAttributesA(options.stopPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main(int argc, char** argv) {
    if (!parseArguments(argc, argv)) {
        std::fprintf(stderr, "fake_browser: bad command line\n");
        return 2;
    }
    if (DdeInitializeA(&instance, serverCallback,
                       APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                       0) != DMLERR_NO_ERROR) {
        std::fprintf(stderr, "fake_browser: DdeInitialize failed\n");
        return 3;
    }
    HSZ service = DdeCreateStringHandleA(instance, options.service.c_str(), CP_WINANSI);
    if (!service || !DdeNameService(instance, service, nullptr, DNS_REGISTER)) {
        std::fprintf(stderr, "fake_browser: cannot register %s\n", options.service.c_str());
        if (service) DdeFreeStringHandle(instance, service);
        DdeUninitialize(instance);
        return 3;
    }
    if (!options.readyPath.empty()) appendLine(options.readyPath, "ready");

    const DWORD deadline = GetTickCount() + options.seconds * 1000;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            if (stopRequested() || static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, timer);
    DdeNameService(instance, service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, service);
    DdeUninitialize(instance);
    return 0;
}
