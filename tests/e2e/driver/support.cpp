// Options, reports and the watched child process of the end-to-end driver.
#include "tests/e2e/driver/support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/win32/wide_names.h"
#include "tests/e2e/driver/menu_windows.h"
#include "tests/e2e/driver/remote.h"

namespace driver {

std::string Options::get(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

int Options::number(const std::string& name, int fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : std::atoi(it->second.c_str());
}

bool parseOptions(int argc, char** argv, int first, Options& out) {
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--") {
            for (++i; i < argc; ++i) out.words.push_back(argv[i]);
            break;
        }
        if (arg.rfind("--", 0) != 0 || i + 1 >= argc) {
            std::fprintf(stderr, "bad argument: %s\n", arg.c_str());
            return false;
        }
        out.values[arg.substr(2)] = argv[++i];
    }
    return true;
}

bool readBytes(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

void Report::set(const std::string& key, const std::string& value) {
    lines_.emplace_back(key, value);
}

void Report::set(const std::string& key, long long value) { set(key, std::to_string(value)); }

void Report::setBytes(const std::string& key, const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    set(key, hex);
}

bool Report::write(const std::string& path) const {
    if (path.empty()) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& line : lines_) out << line.first << '=' << line.second << '\n';
    return static_cast<bool>(out);
}

bool programArguments(const Options& options, std::string& out) {
    out.clear();
    if (options.has("args-file")) return readBytes(options.get("args-file"), out);
    for (std::size_t i = 0; i < options.words.size(); ++i) {
        if (i) out += ' ';
        out += options.words[i];
    }
    return true;
}

bool startProgram(const Options& options, Child& child) {
    std::string arguments;
    if (!options.has("exe") || !programArguments(options, arguments)) {
        std::fprintf(stderr, "needs --exe and readable arguments\n");
        return false;
    }
    return child.start(options.get("exe"), arguments, options.get("unquoted", "0") == "0",
                       options.get("wide", "0") == "1");
}

std::wstring wideText(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

DWORD deadlineAfter(int milliseconds) {
    return GetTickCount() + static_cast<DWORD>(milliseconds);
}

namespace {

bool passed(DWORD deadline) { return static_cast<LONG>(GetTickCount() - deadline) >= 0; }

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

// `bytes` without a code page 932 lead byte that ends them half a character.
static std::string withoutLoneLeadByte(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (!IsDBCSLeadByteEx(932, static_cast<BYTE>(bytes[i]))) ++i;
        else if (i + 1 < bytes.size()) i += 2;
        else return bytes.substr(0, i);
    }
    return bytes;
}

bool Child::start(const std::string& exe, const std::string& arguments, bool quotePath, bool wide,
                  const std::string& startFolder) {
    wchar_t full[520] = {};
    wchar_t* filePart = nullptr;
    DWORD n = GetFullPathNameW(wideText(exe).c_str(), 520, full, &filePart);
    if (n == 0 || n >= 520) return false;
    // The name the program gives itself, and its window class: a part the
    // code page cannot hold goes by its short name.
    platform::windowsName(full, fullPath_);
    const std::wstring path = full;
    const std::wstring folder = startFolder.empty() ? path.substr(0, path.find_last_of(L'\\') + 1)
                                                    : wideText(startFolder, 932);

    // Code page 932 arguments are given as the system of a Japanese Windows
    // gives them, whatever code page this driver runs in: its conversion of
    // an ANSI command line drops a lead byte left alone at the end.
    std::wstring line = quotePath ? L"\"" + path + L"\"" : path;
    if (!arguments.empty()) line += L" " + wideText(wide ? arguments : withoutLoneLeadByte(arguments), wide ? CP_UTF8 : 932);
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, folder.c_str(), &startup, &info);
    if (!started) {
        std::fprintf(stderr, "CreateProcess failed: %lu\n", GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    return true;
}

void Child::collectDialogs(bool answer) {
    // Visible only once the dialog has been filled in.
    for (HWND dialog : windowsOf(processId_, "#32770")) {
        bool known = false;
        for (const SeenDialog& seen : dialogs_) known = known || (seen.window == dialog);
        if (known) continue;
        SeenDialog seen;
        seen.window = dialog;
        seen.caption = windowText(dialog);
        seen.text = dialogText(dialog);
        dialogs_.push_back(seen);
        if (answer)
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
}

// A program with nothing to open shows its tools menu, and one with a
// choice to make its association menu; commands that do not work menus
// close them as a person would, with Escape. An Escape that reaches the
// menu window before the menu's own loop has started is lost, so a menu
// still open half a second later is sent another.
void Child::dismissMenus() {
    if (keepMenus_) return;
    for (HWND menu : visibleMenuWindows(processId_)) {
        SeenMenu* known = nullptr;
        for (SeenMenu& seen : menusSeen_)
            if (seen.window == menu) known = &seen;
        if (known == nullptr) {
            menusSeen_.push_back({menu, GetTickCount()});
            ++menusDismissed_;
        } else if (GetTickCount() - known->escapeSentAt >= 500) {
            known->escapeSentAt = GetTickCount();
        } else {
            continue;
        }
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

bool Child::watch(DWORD deadline, bool answer) {
    HANDLE process = process_.get();
    while (!exited_) {
        collectDialogs(answer);
        dismissMenus();
        if (passed(deadline)) return false;
        DWORD left = deadline - GetTickCount();
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left < 20 ? left : 20, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            exited_ = true;
            GetExitCodeProcess(process, &exitCode_);
        }
        pumpMessages();
    }
    return true;
}

void Child::kill() {
    if (!exited_ && process_.valid()) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 5000);
    }
}

void Child::addTo(Report& report) const {
    report.set("exited", exited_ ? 1 : 0);
    report.set("exit_code", static_cast<long long>(exitCode_));
    report.set("messages", static_cast<long long>(dialogs_.size()));
    report.set("menus", menusDismissed_);
    report.set("system_code_page", static_cast<long long>(GetACP()));
    for (std::size_t i = 0; i < dialogs_.size(); ++i) {
        std::string key = "message." + std::to_string(i + 1) + ".";
        report.setBytes(key + "caption", dialogs_[i].caption);
        report.setBytes(key + "text", dialogs_[i].text);
    }
}

}  // namespace driver
