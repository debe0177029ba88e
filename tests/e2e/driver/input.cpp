// Synthesised input and the clipboard for the driver. Wine delivers
// SendInput events to the foreground window (keys) and to the window under
// the cursor (mouse), as a person's input would be.
#include "tests/e2e/driver/input.h"

#include <cctype>
#include <cstring>

#include "tests/e2e/driver/support.h"

namespace driver {

namespace {

void sendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

void sendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

}  // namespace

WORD keyCode(const std::string& name) {
    struct Named {
        const char* name;
        WORD vk;
    };
    static const Named named[] = {
        {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"space", VK_SPACE}, {"down", VK_DOWN},
        {"up", VK_UP},         {"tab", VK_TAB},       {"shift", VK_SHIFT}, {"control", VK_CONTROL},
        {"alt", VK_MENU},      {"apps", VK_APPS},     {"f10", VK_F10},     {"home", VK_HOME},
        {"end", VK_END},
    };
    for (const Named& n : named)
        if (name == n.name) return n.vk;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    return 0;
}

void keyDown(WORD vk) { sendKey(vk, false); }
void keyUp(WORD vk) { sendKey(vk, true); }

void keyChord(const std::vector<WORD>& keys) {
    for (WORD vk : keys) keyDown(vk);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) keyUp(*it);
}

void clickAt(POINT screen, bool right, int clicks) {
    SetCursorPos(screen.x, screen.y);
    Sleep(50);
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    for (int i = 0; i < clicks; ++i) {
        sendMouse(down);
        sendMouse(up);
    }
}

bool bringForward(HWND window) {
    if (GetForegroundWindow() == window) return true;
    const DWORD own = GetCurrentThreadId();
    const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (foreground && foreground != own) AttachThreadInput(own, foreground, TRUE);
    SetForegroundWindow(window);
    if (foreground && foreground != own) AttachThreadInput(own, foreground, FALSE);
    for (int i = 0; i < 50 && GetForegroundWindow() != window; ++i) Sleep(20);
    return GetForegroundWindow() == window;
}

bool putClipboardText(HWND owner, const std::string& bytes, LCID locale) {
    bool open = false;
    for (int attempt = 0; attempt < 50 && !open; ++attempt) {
        open = OpenClipboard(owner) != FALSE;
        if (!open) Sleep(20);
    }
    if (!open) return false;
    EmptyClipboard();
    bool done = false;
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1)) {
        if (char* p = static_cast<char*>(GlobalLock(block))) {
            std::memcpy(p, bytes.data(), bytes.size());
            p[bytes.size()] = '\0';
            GlobalUnlock(block);
            done = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!done) GlobalFree(block);
    }
    // The locale of a program whose ANSI code page is another.
    if (done && locale != 0) {
        done = false;
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof locale)) {
            if (LCID* p = static_cast<LCID*>(GlobalLock(block))) {
                *p = locale;
                GlobalUnlock(block);
                done = SetClipboardData(CF_LOCALE, block) != nullptr;
            }
            if (!done) GlobalFree(block);
        }
    }
    CloseClipboard();
    return done;
}

bool putClipboardWideText(HWND owner, const std::string& utf8) {
    const std::wstring text = wideText(utf8);
    bool open = false;
    for (int attempt = 0; attempt < 50 && !open; ++attempt) {
        open = OpenClipboard(owner) != FALSE;
        if (!open) Sleep(20);
    }
    if (!open) return false;
    EmptyClipboard();
    bool done = false;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (wchar_t* p = static_cast<wchar_t*>(GlobalLock(block))) {
            std::memcpy(p, text.c_str(), bytes);
            GlobalUnlock(block);
            done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!done) GlobalFree(block);
    }
    CloseClipboard();
    return done;
}

bool readClipboardText(std::string& out) {
    out.clear();
    bool open = false;
    for (int attempt = 0; attempt < 50 && !open; ++attempt) {
        open = OpenClipboard(nullptr) != FALSE;
        if (!open) Sleep(20);
    }
    if (!open) return false;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            out = p;
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return found;
}

}  // namespace driver
