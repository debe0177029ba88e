// Reading the list window of another process: its main window, its list
// view (rows, texts, check states, row rectangles) through memory placed
// in that process, and its dialogs.
#pragma once
#include <string>
#include <vector>

#include "platform/win32/win.h"

namespace driver {

// Memory in another process for one exchange with one of its windows.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    char* address() const { return static_cast<char*>(address_); }
    bool write(std::size_t offset, const void* data, std::size_t size);
    bool read(std::size_t offset, void* data, std::size_t size);

private:
    HANDLE process_;
    void* address_;
};

struct RemoteRow {
    std::string title, url;
    int stateImage = 0;  // 1 unchecked, 2 checked
    bool selected = false;
};

// The list view (control id 100) of a window in another process.
class RemoteListView {
public:
    RemoteListView(HANDLE process, HWND listView);
    bool ok() const { return block_.ok() && listView_; }
    int count();
    std::string text(int row, int column);
    int stateImage(int row);
    bool selected(int row);
    std::vector<RemoteRow> rows();
    // The row's rectangle in screen coordinates.
    bool rowRect(int row, RECT& out);

private:
    HANDLE process_;
    HWND listView_;
    RemoteBlock block_;
};

// The visible top-level window of the process whose class is `className`.
HWND findMainWindow(DWORD processId, const std::string& className);
// Visible top-level windows of the process with the given class.
std::vector<HWND> windowsOf(DWORD processId, const char* className);
// A window's text and a message box's text (its static control 0xFFFF),
// read wide and given in code page 932 ('?' for what it lacks): as the
// window shows them, whatever code page this driver runs in.
std::string windowText(HWND window);
std::string dialogText(HWND dialog);
// The texts of a dialog's static controls, joined by line feeds.
std::string staticTexts(HWND dialog);

}  // namespace driver
