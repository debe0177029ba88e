// Another process's windows seen from the driver.
#include "tests/e2e/driver/remote.h"

#include <cstring>

#include "platform/win32/code_page.h"

namespace driver {

namespace {

constexpr std::size_t textRoom = 2048;
// The block: an LVITEMW (or a RECT) first, the text buffer after it.
constexpr std::size_t textOffset = 256;

struct Search {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK visit(HWND window, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.processId || !IsWindowVisible(window)) return TRUE;
    char name[600] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, search.className) == 0) search.found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectStatic(HWND child, LPARAM context) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0) {
        std::string& out = *reinterpret_cast<std::string*>(context);
        const std::string text = windowText(child);
        if (!text.empty()) out += text + "\n";
    }
    return TRUE;
}

}  // namespace

RemoteBlock::RemoteBlock(HANDLE process, std::size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBlock::~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::write(std::size_t offset, const void* data, std::size_t size) {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, address() + offset, data, size, &done) && done == size;
}

bool RemoteBlock::read(std::size_t offset, void* data, std::size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, address() + offset, data, size, &done) && done == size;
}

RemoteListView::RemoteListView(HANDLE process, HWND listView)
    : process_(process), listView_(listView), block_(process, textOffset + textRoom) {}

int RemoteListView::count() {
    return static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
}

std::string RemoteListView::text(int row, int column) {
    // Wide, and converted here: what the control holds is what it shows,
    // whatever code page this driver or the program runs in.
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(block_.address() + textOffset);
    item.cchTextMax = static_cast<int>(textRoom / sizeof(wchar_t));
    const wchar_t zero = 0;
    if (!block_.write(0, &item, sizeof item) || !block_.write(textOffset, &zero, sizeof zero)) return {};
    SendMessageW(listView_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(block_.address()));
    std::vector<wchar_t> buffer(textRoom / sizeof(wchar_t) + 1, L'\0');
    block_.read(textOffset, buffer.data(), textRoom);
    return platform::cp932Shown(platform::wideView(buffer.data()));
}

int RemoteListView::stateImage(int row) {
    const LRESULT state =
        SendMessageA(listView_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

bool RemoteListView::selected(int row) {
    return (SendMessageA(listView_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

std::vector<RemoteRow> RemoteListView::rows() {
    std::vector<RemoteRow> out;
    const int n = count();
    for (int row = 0; row < n; ++row)
        out.push_back({text(row, 0), text(row, 1), stateImage(row), selected(row)});
    return out;
}

bool RemoteListView::rowRect(int row, RECT& out) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!block_.write(0, &rect, sizeof rect)) return false;
    if (!SendMessageA(listView_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(block_.address())))
        return false;
    if (!block_.read(0, &rect, sizeof rect)) return false;
    MapWindowPoints(listView_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    out = rect;
    return true;
}

std::vector<HWND> windowsOf(DWORD processId, const char* className) {
    Search search{processId, className, {}};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findMainWindow(DWORD processId, const std::string& className) {
    std::vector<HWND> found = windowsOf(processId, className.c_str());
    return found.empty() ? nullptr : found.front();
}

std::string windowText(HWND window) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(window, buffer, 4096);
    return platform::cp932Shown(platform::wideView(buffer));
}

std::string dialogText(HWND dialog) {
    wchar_t buffer[8192] = {};
    GetDlgItemTextW(dialog, 0xFFFF, buffer, 8192);
    return platform::cp932Shown(platform::wideView(buffer));
}

std::string staticTexts(HWND dialog) {
    std::string out;
    EnumChildWindows(dialog, collectStatic, reinterpret_cast<LPARAM>(&out));
    return out;
}

}  // namespace driver
