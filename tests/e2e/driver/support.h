// What every driver command shares: its options, the report it writes for
// the test script, and a started copy of the program watched until it ends.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/win.h"

namespace driver {

// "--name value" pairs before "--", and the words after it.
struct Options {
    std::map<std::string, std::string> values;
    std::vector<std::string> words;

    bool has(const std::string& name) const { return values.count(name) != 0; }
    std::string get(const std::string& name, const std::string& fallback = "") const;
    int number(const std::string& name, int fallback) const;
};
// False (with a message on stderr) for a malformed argument list.
bool parseOptions(int argc, char** argv, int first, Options& out);

// Reads a whole file as bytes; false when it cannot be read.
bool readBytes(const std::string& path, std::string& out);

// The report: one "key=value" line each, written when the command ends.
// Byte texts are written as hexadecimal so that any code page survives.
class Report {
public:
    void set(const std::string& key, const std::string& value);
    void set(const std::string& key, long long value);
    void setBytes(const std::string& key, const std::string& bytes);
    bool write(const std::string& path) const;

private:
    std::vector<std::pair<std::string, std::string>> lines_;
};

// A message box (dialog class "#32770") shown by the watched process.
struct SeenDialog {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // the static control 0xFFFF that holds the message
};

// The program under test, started as a child process.
class Child {
public:
    // `exe` is made a full path, as the started program will see itself;
    // the command line is that path (in quotes unless `quotePath` is false),
    // then " " and `arguments` when they are not empty. With `wide` the
    // arguments are UTF-8 and the program is started with CreateProcessW
    // and that wide command line, as the shell starts a clicked link's
    // browser. The program starts in `folder`, or in its own folder when
    // that is empty.
    bool start(const std::string& exe, const std::string& arguments, bool quotePath = true,
               bool wide = false, const std::string& folder = std::string());
    const std::string& fullPath() const { return fullPath_; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_.get(); }

    // Runs until the child has ended or `deadline` (a GetTickCount value)
    // has passed, handling this thread's messages meanwhile. Message boxes
    // of the child are recorded and answered with OK when `answer` is set.
    // Popup menus of the child are counted and dismissed with Escape unless
    // keepMenus(true) was called. True when the child ended.
    bool watch(DWORD deadline, bool answer);
    void keepMenus(bool keep) { keepMenus_ = keep; }
    int menusDismissed() const { return menusDismissed_; }
    // Ends a child that overran its time.
    void kill();

    const std::vector<SeenDialog>& dialogs() const { return dialogs_; }
    bool exited() const { return exited_; }
    DWORD exitCode() const { return exitCode_; }

    // exited, exit_code, messages and each message's caption and text, and
    // the number of menus dismissed.
    void addTo(Report& report) const;

private:
    void collectDialogs(bool answer);
    void dismissMenus();

    std::string fullPath_;
    win::ScopedHandle process_;
    DWORD processId_ = 0;
    std::vector<SeenDialog> dialogs_;
    bool exited_ = false;
    DWORD exitCode_ = 0;
    bool keepMenus_ = false;
    int menusDismissed_ = 0;
    struct SeenMenu {
        HWND window;
        DWORD escapeSentAt;
    };
    std::vector<SeenMenu> menusSeen_;
};

// The arguments for the program: the bytes of "--args-file" when given,
// else the words after "--" joined by single spaces.
bool programArguments(const Options& options, std::string& out);
// Starts the program as the options say: "--exe", the arguments above,
// "--unquoted 1" for a program path without quotes, "--wide 1" for UTF-8
// arguments on a wide command line.
bool startProgram(const Options& options, Child& child);

// UTF-8 (or, with `codePage`, another code page) as UTF-16.
std::wstring wideText(const std::string& bytes, UINT codePage = CP_UTF8);

// A deadline `milliseconds` from now.
DWORD deadlineAfter(int milliseconds);

}  // namespace driver
