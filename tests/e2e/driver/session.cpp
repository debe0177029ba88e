// The "session" command: starts Tavrin.exe and drives its list window step
// by step from a script, reading the real list view between the steps.
//
// Script lines (words separated by blanks; HEX is a byte text in
// hexadecimal, empty as "-"):
//   start HEX            start the program with these arguments
//   start-wide HEX       the same with UTF-8 arguments on a wide command
//                        line (CreateProcessW)
//   start-in HEX HEX     start it in the folder named by the first (its
//                        current folder) with the arguments of the second
//   second HEX           start a second copy with these arguments and wait
//                        for it to end (it hands its input over); its
//                        message boxes are recorded and answered
//   second-wide HEX      as second, UTF-8 arguments on a wide command line
//   second-via HEX HEX   as second, the copy started by the driver copy
//                        named by the first ("run"), so that it is that
//                        program's child
//   second-async HEX     start a second copy and go on at once
//   second-alive         record whether that copy still runs
//   wait-second          wait for that copy to end, answering its boxes
//   copydata CODE HEX    send WM_COPYDATA (dwData CODE) to the program's
//                        window, as a second copy would, with the bytes of
//                        the file named by HEX, exactly (no zero added)
//   menu-char C          post the character C to the program's popup menu
//   dismiss-menu         close the program's popup menus with Escape
//   wait-list            wait for the list window (visible, list view 100)
//   wait-rows N          wait until the list holds N rows (no failure)
//   wait-exit            wait for the program to end
//   rows LABEL           record rows, caption, topmost flag as LABEL.*
//   geometry LABEL       record the window's rectangle and client size,
//                        the height a one-row menu bar gives it, the
//                        column widths and the header's and first row's
//                        heights as LABEL.*
//   column-width COL W   set a column's width, as a drag of its divider
//   dpi-changed DPI L T R B   send WM_DPICHANGED for resolution DPI with
//                        that suggested rectangle, as the system does when
//                        the window moves to another display
//   command ID           post WM_COMMAND ID to the window and settle
//   post ID              post WM_COMMAND ID without waiting
//   post-range FIRST LAST [WPARAM LPARAM]   post every message FIRST..LAST
//                        (decimal) with wParam and lParam (0 unless given),
//                        as another program could, and settle
//   keys CHORD...        key chords ("shift+return", "alt", "s") to the
//                        foreground list window
//   menu CHORD...        wait for a popup menu of the program, record its
//                        rectangle, then the key chords; "MODS+title"
//                        clicks its last item with the modifiers held
//   click|dblclick|rclick ROW   mouse on the row's URL cell
//   check ROW            click the row's check box
//   row-menu ROW LABEL   right-click the row until its menu shows (a
//                        click that comes while the list is being filled
//                        can be lost under Wine), then close the menu with
//                        Escape; LABEL.clicks records the clicks it took
//   save HEX | open HEX  fill a file dialog's name field and press OK
//   read-menus HEX  (before start) every menu the program opens is written
//                 to the file HEX by menu_reader.dll beside the driver
//   save-wide HEX | open-wide HEX  the same with a UTF-8 name
//   folder HEX           select the folder in the folder browser, OK
//   cancel               cancel the program's dialog
//   message BUTTON       record a message box and press ok, yes or no
//   no-dialog MS         count the program's dialogs after MS ms
//   clipboard HEX        put text on the clipboard
//   clipboard-wide HEX   put UTF-8 text on it as CF_UNICODETEXT
//   clipboard-in LCID HEX  put CF_TEXT of another locale (LCID in hex) on it
//   read-clipboard LABEL record the clipboard text
//   drop-text HEX | drop-file HEX   OLE drag and drop onto the list
//   drop-wide-text HEX | drop-wide-file HEX   the same from a source of
//                        wide text (HEX: UTF-8)
//   drag-async DROP HEX  one of the drops above from a thread of its own,
//                        going on at once (for a drop that shows a box)
//   wait-drag            wait for that drag to end
//   hold HEX             open the file without sharing until the end
//   viewer               join the clipboard-viewer chain (before the
//                        program does, so that it passes notices on)
//   viewer-count LABEL   record how many WM_DRAWCLIPBOARD reached us
//   cancel-progress      wait for the download's progress window, post
//                        its Cancel and wait until it has gone
//   answer LABEL [MS]    send WM_NULL to every top-level window of the
//                        program (hidden ones too), each with a limit of MS
//                        (200 unless given); record how many answered
//   dde-probe LABEL      connect as a DDE client to a service nobody
//                        offers (a broadcast initiate); record its time
//   resources LABEL      the program's handle, GDI and USER counts, memory
//   windows CLASS LABEL  record how many visible windows of that class
//                        the program shows
//   alive LABEL          record whether the program still runs
//   post-message MSG W L | send-message MSG W L   post (failure recorded,
//                        not a failed step) or send (with a limit of 2 s)
//                        message MSG with wParam W and lParam L (numbers,
//                        0x for hexadecimal) to the program's window
//   notify CODE          send WM_NOTIFY from the list view (id 100) with
//                        that code, its record placed in the program's
//                        memory, as only the list view itself may
//   post-wparams MSG FIRST LAST L   post MSG once for every wParam FIRST..
//                        LAST with lParam L, and settle
//   sleep MS
//   close                post WM_CLOSE and wait for the end
//
// Under Wine (8.0) the save and open dialogs are the Explorer-style file
// dialogs: their file name field is the edit control edt1 (0x480), and a
// WM_SETTEXT to it followed by a posted IDOK works like typing the name
// and pressing Enter; an existing name then brings the overwrite prompt,
// a message box owned by the dialog. The folder browser takes
// BFFM_SETSELECTIONA with the path placed in the program's memory.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>

#include "tests/e2e/driver/commands.h"
#include "tests/e2e/driver/drag.h"
#include "tests/e2e/driver/input.h"
#include "tests/e2e/driver/probes.h"
#include "tests/e2e/driver/remote.h"

namespace driver {

namespace {

constexpr int waitMs = 6000;

bool fromHex(const std::string& hex, std::string& out) {
    out.clear();
    if (hex == "-") return true;
    if (hex.size() % 2) return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(hex.c_str() + i, "%2x", &value) != 1) return false;
        out += static_cast<char>(value);
    }
    return true;
}

// The driver's own place in the clipboard-viewer chain.
struct ViewerState {
    HWND next = nullptr;
    int notices = 0;
    bool joined = false;
} viewer;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWCLIPBOARD:
        ++viewer.notices;
        if (viewer.next) SendMessageA(viewer.next, message, wParam, lParam);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == viewer.next) viewer.next = reinterpret_cast<HWND>(lParam);
        else if (viewer.next) SendMessageA(viewer.next, message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool passed(DWORD deadline) { return static_cast<LONG>(GetTickCount() - deadline) >= 0; }

void pump(DWORD ms) {
    const DWORD deadline = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (!passed(deadline));
}

class Session {
public:
    Session(const Options& options) : options_(options) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ownerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "tavrin_driver_session";
        RegisterClassA(&wc);
        owner_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~Session() {
        if (menuHook_) UnhookWindowsHookEx(menuHook_);
        if (viewer.joined) ChangeClipboardChain(owner_, viewer.next);
        if (owner_) DestroyWindow(owner_);
    }

    // Runs the script; false when a step failed (recorded as "error").
    bool run(const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            step_ = static_cast<int>(i + 1);
            std::istringstream words(lines[i]);
            std::vector<std::string> w;
            for (std::string word; words >> word;) w.push_back(word);
            if (w.empty()) continue;
            std::string failure;
            const DWORD began = GetTickCount();
            const bool done = runStep(w, failure);
            report_.set(key("ms"), static_cast<long long>(GetTickCount() - began));
            if (!done) {
                report_.set("error", step_);
                report_.setBytes("error.text", lines[i] + ": " + failure);
                return false;
            }
        }
        return true;
    }

    void finish() {
        held_.clear();
        if (dragThread_.valid() && WaitForSingleObject(dragThread_.get(), waitMs) != WAIT_OBJECT_0)
            report_.set("drag_running_at_end", 1);
        if (pending_ && WaitForSingleObject(pending_->process(), 0) == WAIT_TIMEOUT) {
            report_.set("second_running_at_end", 1);
            pending_->kill();
        }
        if (child_.process() && WaitForSingleObject(child_.process(), 0) == WAIT_TIMEOUT) {
            report_.set("running_at_end", 1);
            if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(child_.process(), 3000) == WAIT_TIMEOUT) child_.kill();
        }
        DWORD code = 0;
        const bool ended = child_.process() && WaitForSingleObject(child_.process(), 0) == WAIT_OBJECT_0;
        if (ended) GetExitCodeProcess(child_.process(), &code);
        report_.set("exit_code", static_cast<long long>(code));
        // The code page of the session's system (this driver has no
        // manifest that asks for another).
        report_.set("system_code_page", static_cast<long long>(GetACP()));
        report_.write(options_.get("out"));
    }

private:
    std::string key(const std::string& name) const { return "step." + std::to_string(step_) + "." + name; }

    bool runStep(const std::vector<std::string>& w, std::string& failure) {
        const std::string& verb = w[0];
        const std::string arg = w.size() > 1 ? w[1] : "";
        std::string bytes;
        if (verb == "start" || verb == "start-wide") {
            if (!fromHex(arg, bytes)) return fail(failure, "bad hex");
            if (!child_.start(options_.get("exe"), bytes, true, verb == "start-wide"))
                return fail(failure, "cannot start");
            return true;
        }
        if (verb == "start-in") {
            std::string folder;
            if (!fromHex(arg, folder) || !fromHex(w.size() > 2 ? w[2] : "-", bytes))
                return fail(failure, "bad hex");
            if (!child_.start(options_.get("exe"), bytes, true, false, folder)) return fail(failure, "cannot start");
            return true;
        }
        if (verb == "second" || verb == "second-wide") return second(arg, verb == "second-wide", failure);
        if (verb == "second-via") return secondVia(arg, w.size() > 2 ? w[2] : "-", failure);
        if (verb == "second-async") {
            if (!fromHex(arg, bytes)) return fail(failure, "bad hex");
            pending_ = std::make_unique<Child>();
            if (!pending_->start(options_.get("exe"), bytes)) return fail(failure, "cannot start");
            return true;
        }
        if (verb == "second-alive") {
            if (!pending_) return fail(failure, "no second copy");
            report_.set(key("alive"), WaitForSingleObject(pending_->process(), 0) == WAIT_TIMEOUT ? 1 : 0);
            return true;
        }
        if (verb == "wait-second") {
            if (!pending_) return fail(failure, "no second copy");
            return watchCopy(*pending_, failure);
        }
        if (verb == "menu-char" || verb == "dismiss-menu") {
            const std::vector<HWND> menus = windowsOf(child_.processId(), "#32768");
            report_.set(key("menus"), static_cast<long long>(menus.size()));
            if (menus.empty()) return fail(failure, "no popup menu");
            if (verb == "menu-char") PostMessageA(menus.front(), WM_CHAR, static_cast<WPARAM>(arg.empty() ? 0 : arg[0]), 0);
            else for (HWND menu : menus) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            pump(100);
            return true;
        }
        if (verb == "wait-list") return waitList(failure);
        if (verb == "wait-rows") return waitRows(std::atoi(arg.c_str()));
        if (verb == "wait-exit") {
            if (WaitForSingleObject(child_.process(), waitMs) != WAIT_OBJECT_0)
                return fail(failure, "still running");
            return true;
        }
        if (verb == "sleep") {
            pump(static_cast<DWORD>(std::atoi(arg.c_str())));
            return true;
        }
        if (verb == "clipboard-in") {
            if (w.size() < 3 || !fromHex(w[2], bytes)) return fail(failure, "needs LCID HEX");
            const LCID locale = static_cast<LCID>(std::strtoul(arg.c_str(), nullptr, 16));
            if (!putClipboardText(owner_, bytes, locale)) return fail(failure, "cannot set the clipboard");
            return true;
        }
        if (verb == "clipboard" || verb == "clipboard-wide") {
            if (!fromHex(arg, bytes)) return fail(failure, "bad hex");
            const bool put = verb == "clipboard" ? putClipboardText(owner_, bytes)
                                                 : putClipboardWideText(owner_, bytes);
            if (!put) return fail(failure, "cannot set the clipboard");
            return true;
        }
        if (verb == "read-clipboard") {
            std::string text;
            report_.set(arg + ".present", readClipboardText(text) ? 1 : 0);
            report_.setBytes(arg + ".text", text);
            return true;
        }
        if (verb == "viewer") {
            viewer.next = SetClipboardViewer(owner_);
            viewer.joined = true;
            pump(100);
            viewer.notices = 0;
            return true;
        }
        if (verb == "viewer-count") {
            pump(100);
            report_.set(arg + ".notices", viewer.notices);
            return true;
        }
        if (verb == "hold") {
            if (!fromHex(arg, bytes)) return fail(failure, "bad hex");
            win::ScopedHandle file(CreateFileA(bytes.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.valid()) return fail(failure, "cannot open the file");
            held_.push_back(std::move(file));
            return true;
        }
        // Dialogs belong to the program, with or without its list window.
        if (verb == "read-menus") return readMenus(arg, failure);
        if (verb == "save" || verb == "open") return fileDialog(arg, false, failure);
        if (verb == "save-wide" || verb == "open-wide") return fileDialog(arg, true, failure);
        if (verb == "folder") return folderDialog(arg, failure);
        if (verb == "cancel") return cancelDialog(failure);
        if (verb == "message") return messageBox(arg, failure);
        if (verb == "no-dialog") {
            pump(static_cast<DWORD>(std::atoi(arg.c_str())));
            report_.set(key("dialogs"), static_cast<long long>(windowsOf(child_.processId(), "#32770").size()));
            return true;
        }
        // A popup menu may come before the list window (the tools menu).
        if (verb == "menu") return menu(w, failure);
        if (verb == "cancel-progress") return cancelProgress(failure);
        if (verb == "answer") {
            const DWORD limit = w.size() > 2 ? static_cast<DWORD>(std::atoi(w[2].c_str())) : 200;
            answerProbe(child_.processId(), limit, report_, arg);
            return true;
        }
        if (verb == "dde-probe") {
            ddeProbe(report_, arg);
            return true;
        }
        if (verb == "resources") {
            resourceProbe(child_.process(), report_, arg);
            return true;
        }
        if (verb == "windows") {
            if (w.size() < 3) return fail(failure, "needs CLASS LABEL");
            report_.set(w[2] + ".count", static_cast<long long>(windowsOf(child_.processId(), arg.c_str()).size()));
            return true;
        }
        if (verb == "alive") {
            report_.set(arg + ".alive", WaitForSingleObject(child_.process(), 0) == WAIT_TIMEOUT ? 1 : 0);
            return true;
        }
        // Everything else acts on the list window.
        if (!window_) return fail(failure, "no list window yet");
        if (verb == "rows") return recordRows(arg);
        if (verb == "geometry") return recordGeometry(arg);
        if (verb == "column-width") {
            SendMessageA(listView_, LVM_SETCOLUMNWIDTH, std::atoi(arg.c_str()),
                         MAKELPARAM(std::atoi(w.size() > 2 ? w[2].c_str() : "0"), 0));
            settle();
            return true;
        }
        if (verb == "dpi-changed") return dpiChanged(w, failure);
        if (verb == "command" || verb == "post") {
            PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(std::atoi(arg.c_str())), 0);
            if (verb == "command") settle();
            return true;
        }
        if (verb == "post-range") {
            const long last = w.size() > 2 ? std::atol(w[2].c_str()) : 0;
            const WPARAM wParam = w.size() > 3 ? std::strtoul(w[3].c_str(), nullptr, 10) : 0;
            const LPARAM lParam = w.size() > 4 ? std::strtol(w[4].c_str(), nullptr, 10) : 0;
            for (long message = std::atol(arg.c_str()); message <= last; ++message) {
                // A full queue takes no more until the program has read it.
                while (!PostMessageA(window_, static_cast<UINT>(message), wParam, lParam)) {
                    if (!IsWindow(window_)) return fail(failure, "the window is gone");
                    Sleep(10);
                }
            }
            settle();
            return true;
        }
        if (verb == "post-message" || verb == "send-message") {
            if (w.size() != 4) return fail(failure, "needs MSG W L");
            const UINT message = static_cast<UINT>(std::strtoul(w[1].c_str(), nullptr, 0));
            const WPARAM wParam = static_cast<WPARAM>(std::strtoul(w[2].c_str(), nullptr, 0));
            const LPARAM lParam = static_cast<LPARAM>(std::strtoul(w[3].c_str(), nullptr, 0));
            if (verb == "post-message") {
                report_.set(key("posted"), PostMessageA(window_, message, wParam, lParam) ? 1 : 0);
            } else {
                DWORD_PTR result = 0;
                report_.set(key("sent"), SendMessageTimeoutA(window_, message, wParam, lParam, SMTO_NORMAL,
                                                             2000, &result) ? 1 : 0);
            }
            settle();
            return true;
        }
        if (verb == "notify") {
            NMHDR header{listView_, 100, static_cast<UINT>(std::atoi(arg.c_str()))};
            RemoteBlock block(child_.process(), sizeof header);
            if (!block.ok() || !block.write(0, &header, sizeof header)) return fail(failure, "cannot place the notice");
            DWORD_PTR result = 0;
            report_.set(key("sent"), SendMessageTimeoutA(window_, WM_NOTIFY, 100,
                                                         reinterpret_cast<LPARAM>(block.address()), SMTO_NORMAL,
                                                         2000, &result) ? 1 : 0);
            settle();
            return true;
        }
        if (verb == "post-wparams") {
            if (w.size() != 5) return fail(failure, "needs MSG FIRST LAST L");
            const UINT message = static_cast<UINT>(std::strtoul(w[1].c_str(), nullptr, 0));
            const unsigned long last = std::strtoul(w[3].c_str(), nullptr, 0);
            const LPARAM lParam = static_cast<LPARAM>(std::strtoul(w[4].c_str(), nullptr, 0));
            for (unsigned long wParam = std::strtoul(w[2].c_str(), nullptr, 0); wParam <= last; ++wParam) {
                while (!PostMessageA(window_, message, static_cast<WPARAM>(wParam), lParam)) {
                    if (!IsWindow(window_)) return fail(failure, "the window is gone");
                    Sleep(10);
                }
            }
            settle();
            return true;
        }
        if (verb == "keys") return keys(w, 1, failure);
        if (verb == "copydata") return copyData(arg, w.size() > 2 ? w[2] : "", failure);
        if (verb == "click" || verb == "dblclick" || verb == "rclick" || verb == "check")
            return click(verb, std::atoi(arg.c_str()), failure);
        if (verb == "row-menu") return rowMenu(std::atoi(arg.c_str()), w.size() > 2 ? w[2] : "row_menu", failure);
        if (verb.compare(0, 5, "drop-") == 0) return drop(verb, arg, failure);
        if (verb == "drag-async") return dropAsync(arg, w.size() > 2 ? w[2] : "", failure);
        if (verb == "wait-drag") return waitDrag(failure);
        if (verb == "close") {
            PostMessageA(window_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(child_.process(), waitMs) != WAIT_OBJECT_0)
                return fail(failure, "still running after WM_CLOSE");
            return true;
        }
        return fail(failure, "unknown step");
    }

    // Waits for the download's progress window, asks it to cancel as its
    // button does, and waits until it has gone.
    bool cancelProgress(std::string& failure) {
        const DWORD deadline = GetTickCount() + waitMs;
        std::vector<HWND> found;
        while (!passed(deadline) && (found = windowsOf(child_.processId(), "TavrinDownloadProgress")).empty())
            Sleep(20);
        if (found.empty()) return fail(failure, "no progress window");
        report_.set(key("shown"), 1);
        PostMessageA(found.front(), WM_COMMAND, IDCANCEL, 0);
        while (!passed(deadline) && IsWindow(found.front())) Sleep(20);
        if (IsWindow(found.front())) return fail(failure, "the progress window stays");
        return true;
    }

    static bool fail(std::string& failure, const char* why) {
        failure = why;
        return false;
    }

    // Lets the program handle what was posted to it: a sent message is
    // answered only once the program is back in a message loop.
    void settle() {
        if (!window_) return;
        for (int i = 0; i < 3; ++i) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            Sleep(20);
        }
    }

    bool waitList(std::string& failure) {
        const DWORD deadline = GetTickCount() + waitMs;
        while (!passed(deadline)) {
            HWND window = findMainWindow(child_.processId(), child_.fullPath());
            HWND list = window ? GetDlgItem(window, 100) : nullptr;
            if (list && IsWindowVisible(list)) {
                window_ = window;
                listView_ = list;
                settle();
                return true;
            }
            if (WaitForSingleObject(child_.process(), 0) == WAIT_OBJECT_0)
                return fail(failure, "the program ended");
            Sleep(20);
        }
        return fail(failure, "no list window");
    }

    bool waitRows(int n) {
        if (!listView_) return true;
        RemoteListView list(child_.process(), listView_);
        const DWORD deadline = GetTickCount() + waitMs;
        while (!passed(deadline) && list.count() != n) Sleep(20);
        settle();
        return true;
    }

    // The rows once they hold still. A command that reads the clipboard
    // answers sent messages while it waits for the clipboard's owner, so
    // settling can end before the list is filled; a busy machine then read
    // it half done.
    std::vector<RemoteRow> steadyRows() {
        auto same = [](const std::vector<RemoteRow>& a, const std::vector<RemoteRow>& b) {
            if (a.size() != b.size()) return false;
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (a[i].title != b[i].title || a[i].url != b[i].url ||
                    a[i].stateImage != b[i].stateImage || a[i].selected != b[i].selected)
                    return false;
            }
            return true;
        };
        RemoteListView list(child_.process(), listView_);
        std::vector<RemoteRow> rows = list.rows();
        for (int i = 0; i < 40; ++i) {
            Sleep(50);
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            std::vector<RemoteRow> again = list.rows();
            if (same(rows, again)) break;
            rows = std::move(again);
        }
        return rows;
    }

    bool recordRows(const std::string& label) {
        const std::vector<RemoteRow> rows = steadyRows();
        report_.set(label + ".rows", static_cast<long long>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string prefix = label + "." + std::to_string(i) + ".";
            report_.setBytes(prefix + "title", rows[i].title);
            report_.setBytes(prefix + "url", rows[i].url);
            report_.set(prefix + "checked", rows[i].stateImage == 2 ? 1 : 0);
            report_.set(prefix + "state", rows[i].stateImage);
            report_.set(prefix + "selected", rows[i].selected ? 1 : 0);
        }
        report_.setBytes(label + ".caption", windowText(window_));
        report_.set(label + ".topmost",
                    (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
        report_.set(label + ".foreground", GetForegroundWindow() == window_ ? 1 : 0);
        return true;
    }

    bool recordGeometry(const std::string& label) {
        RECT frame{}, client{};
        GetWindowRect(window_, &frame);
        GetClientRect(window_, &client);
        report_.set(label + ".x", frame.left);
        report_.set(label + ".y", frame.top);
        report_.set(label + ".width", frame.right - frame.left);
        report_.set(label + ".height", frame.bottom - frame.top);
        report_.set(label + ".client_width", client.right);
        report_.set(label + ".client_height", client.bottom);
        // A menu bar that had to wrap makes the frame taller than this.
        RECT oneRow = client;
        AdjustWindowRectEx(&oneRow, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)));
        report_.set(label + ".one_row_height", oneRow.bottom - oneRow.top);
        for (int column = 0; column < 2; ++column)
            report_.set(label + ".column" + std::to_string(column),
                        static_cast<long long>(SendMessageA(listView_, LVM_GETCOLUMNWIDTH, column, 0)));
        RECT header{};
        GetWindowRect(reinterpret_cast<HWND>(SendMessageA(listView_, LVM_GETHEADER, 0, 0)), &header);
        report_.set(label + ".header_height", header.bottom - header.top);
        RemoteListView list(child_.process(), listView_);
        RECT row{};
        report_.set(label + ".row_height", list.rowRect(0, row) ? row.bottom - row.top : 0);
        return true;
    }

    bool dpiChanged(const std::vector<std::string>& w, std::string& failure) {
        if (w.size() != 6) return fail(failure, "needs DPI L T R B");
        const WORD dpi = static_cast<WORD>(std::atoi(w[1].c_str()));
        const RECT suggested{std::atoi(w[2].c_str()), std::atoi(w[3].c_str()), std::atoi(w[4].c_str()),
                             std::atoi(w[5].c_str())};
        RemoteBlock block(child_.process(), sizeof suggested);
        if (!block.ok() || !block.write(0, &suggested, sizeof suggested))
            return fail(failure, "cannot place the rectangle");
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window_, 0x02E0, MAKEWPARAM(dpi, dpi),
                                 reinterpret_cast<LPARAM>(block.address()), SMTO_NORMAL, 10000, &result))
            return fail(failure, "no answer");
        settle();
        return true;
    }

    bool chords(const std::vector<std::string>& w, std::size_t from, std::string& failure) {
        for (std::size_t i = from; i < w.size(); ++i) {
            std::vector<WORD> chord;
            std::istringstream parts(w[i]);
            for (std::string part; std::getline(parts, part, '+');) {
                const WORD vk = keyCode(part);
                if (!vk) return fail(failure, "unknown key");
                chord.push_back(vk);
            }
            keyChord(chord);
        }
        return true;
    }

    bool keys(const std::vector<std::string>& w, std::size_t from, std::string& failure) {
        if (!bringForward(window_)) return fail(failure, "cannot bring the window forward");
        if (!chords(w, from, failure)) return false;
        settle();
        return true;
    }

    bool menu(const std::vector<std::string>& w, std::string& failure) {
        const DWORD deadline = GetTickCount() + waitMs;
        std::vector<HWND> menus;
        while (!passed(deadline) && (menus = windowsOf(child_.processId(), "#32768")).empty()) Sleep(20);
        if (menus.empty()) return fail(failure, "no popup menu");
        RECT rect{};
        GetWindowRect(menus.front(), &rect);
        report_.set(key("left"), rect.left);
        report_.set(key("top"), rect.top);
        report_.set(key("right"), rect.right);
        report_.set(key("bottom"), rect.bottom);
        if (window_) {
            RECT main{};
            GetWindowRect(window_, &main);
            report_.set(key("window_cx"), (main.left + main.right) / 2);
            report_.set(key("window_cy"), (main.top + main.bottom) / 2);
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        report_.set(key("cursor_x"), cursor.x);
        report_.set(key("cursor_y"), cursor.y);
        Sleep(100);
        // "MODS+title": a click on the menu's last item (the association
        // menu's title item) with the modifiers held, as Wine's menus take
        // no Ctrl+Return.
        if (w.size() == 2 && w[1].size() >= 5 && w[1].compare(w[1].size() - 5, 5, "title") == 0) {
            std::vector<WORD> held;
            std::istringstream parts(w[1].substr(0, w[1].size() - 5));
            for (std::string part; std::getline(parts, part, '+');) {
                if (part.empty()) continue;
                const WORD vk = keyCode(part);
                if (!vk) return fail(failure, "unknown key");
                held.push_back(vk);
            }
            for (WORD vk : held) keyDown(vk);
            clickAt(POINT{rect.left + 30, rect.bottom - 8}, false, 1);
            Sleep(200);
            for (auto it = held.rbegin(); it != held.rend(); ++it) keyUp(*it);
        } else if (!chords(w, 1, failure)) {
            return false;
        }
        settle();
        return true;
    }

    bool click(const std::string& verb, int row, std::string& failure) {
        RemoteListView list(child_.process(), listView_);
        RECT rect{};
        if (!list.rowRect(row, rect)) return fail(failure, "no such row");
        // The URL cell, or the check box at the start of the title cell.
        POINT at{rect.left + 150, (rect.top + rect.bottom) / 2};
        if (verb == "check") at.x = rect.left + 10;
        clickAt(at, verb == "rclick", verb == "dblclick" ? 2 : 1);
        if (verb != "rclick") settle();
        return true;
    }

    bool rowMenu(int row, const std::string& label, std::string& failure) {
        for (int clicks = 1; clicks <= 5; ++clicks) {
            settle();
            RemoteListView list(child_.process(), listView_);
            RECT rect{};
            if (!list.rowRect(row, rect)) return fail(failure, "no such row");
            // Menus one after the other: a click where the last one was
            // would be the second of a double click, which shows none.
            rowMenuShift_ = rowMenuShift_ == 0 ? 2 * GetSystemMetrics(SM_CXDOUBLECLK) : 0;
            clickAt(POINT{rect.left + 150 + rowMenuShift_, (rect.top + rect.bottom) / 2}, true, 1);
            const DWORD deadline = GetTickCount() + 2000;
            std::vector<HWND> menus;
            while (!passed(deadline) && (menus = windowsOf(child_.processId(), "#32768")).empty()) Sleep(20);
            if (menus.empty()) continue;
            for (HWND menu : menus) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            const DWORD closing = GetTickCount() + 2000;
            while (!passed(closing) && !windowsOf(child_.processId(), "#32768").empty()) Sleep(20);
            report_.set(label + ".clicks", clicks);
            settle();
            return true;
        }
        return fail(failure, "no row menu after five clicks");
    }

    // A dialog of the program not handled before, found by `match`.
    template <typename Match>
    HWND waitDialog(Match match) {
        const DWORD deadline = GetTickCount() + waitMs;
        while (!passed(deadline)) {
            for (HWND dialog : windowsOf(child_.processId(), "#32770"))
                if (!handled_.count(dialog) && match(dialog)) {
                    handled_.insert(dialog);
                    Sleep(150);  // let it finish its set-up
                    report_.setBytes(key("caption"), windowText(dialog));
                    return dialog;
                }
            Sleep(20);
        }
        return nullptr;
    }

    static HWND fileNameField(HWND dialog) {
        if (HWND edit = GetDlgItem(dialog, edt1)) return edit;
        return GetDlgItem(dialog, cmb13);
    }

    // A hook for every program of the session, which writes its menus only
    // inside the program, which inherits the log's name.
    bool readMenus(const std::string& hex, std::string& failure) {
        std::string log;
        if (!fromHex(hex, log)) return fail(failure, "bad hex");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring library = self;
        library = library.substr(0, library.find_last_of(L'\\') + 1) + L"menu_reader.dll";
        HMODULE module = LoadLibraryW(library.c_str());
        auto hook = module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                 GetProcAddress(module, "menuReaderHook")))
                           : nullptr;
        if (!hook) return fail(failure, "no menu_reader.dll beside the driver");
        SetEnvironmentVariableA("TAVRIN_MENU_LOG", log.c_str());
        menuHook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, hook, module, 0);
        return menuHook_ ? true : fail(failure, "cannot hook the menus");
    }

    // The name typed: code page 932 bytes, or with `wide` UTF-8 (for names
    // the code page cannot hold).
    bool fileDialog(const std::string& hex, bool wide, std::string& failure) {
        std::string path;
        if (!fromHex(hex, path)) return fail(failure, "bad hex");
        HWND dialog = waitDialog([](HWND d) { return fileNameField(d) != nullptr; });
        if (!dialog) return fail(failure, "no file dialog");
        const std::wstring typed = wideText(path, wide ? CP_UTF8 : 932);
        SendMessageW(fileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        pump(200);
        return true;
    }

    bool folderDialog(const std::string& hex, std::string& failure) {
        std::string path;
        if (!fromHex(hex, path)) return fail(failure, "bad hex");
        HWND dialog = waitDialog([](HWND d) { return FindWindowExA(d, nullptr, "SysTreeView32", nullptr) != nullptr; });
        if (!dialog) return fail(failure, "no folder browser");
        report_.setBytes(key("text"), staticTexts(dialog));
        RemoteBlock block(child_.process(), path.size() + 1);
        if (!block.ok() || !block.write(0, path.c_str(), path.size() + 1))
            return fail(failure, "cannot place the path");
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(block.address()));
        pump(200);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        pump(200);
        settle();
        return true;
    }

    bool cancelDialog(std::string& failure) {
        HWND dialog = waitDialog([](HWND) { return true; });
        if (!dialog) return fail(failure, "no dialog");
        report_.setBytes(key("text"), staticTexts(dialog));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        pump(200);
        settle();
        return true;
    }

    bool messageBox(const std::string& button, std::string& failure) {
        HWND dialog = waitDialog([](HWND d) { return GetDlgItem(d, 0xFFFF) != nullptr; });
        if (!dialog) return fail(failure, "no message box");
        report_.setBytes(key("text"), dialogText(dialog));
        const int id = button == "yes" ? IDYES : button == "no" ? IDNO : IDOK;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        pump(200);
        return true;
    }

    // A drag onto the list: its point, kind and data.
    struct Drag {
        POINT at{};
        DragKind kind = DragKind::Text;
        std::string data;
        long effect = -1;
    };

    bool dragFor(const std::string& verb, const std::string& hex, Drag& drag, std::string& failure) {
        if (!fromHex(hex, drag.data)) return fail(failure, "bad hex");
        RECT rect{};
        GetWindowRect(listView_, &rect);
        drag.at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        if (verb == "drop-text") drag.kind = DragKind::Text;
        else if (verb == "drop-file") drag.kind = DragKind::Files;
        else if (verb == "drop-wide-text") drag.kind = DragKind::WideText;
        else if (verb == "drop-wide-file") drag.kind = DragKind::WideFiles;
        else return fail(failure, "unknown step");
        return true;
    }

    bool drop(const std::string& verb, const std::string& hex, std::string& failure) {
        Drag drag;
        if (!dragFor(verb, hex, drag, failure)) return false;
        const long effect = dragAndDrop(drag.at, drag.kind, drag.data);
        if (effect < 0) return fail(failure, "the drag did not run");
        report_.set(key("effect"), effect);
        settle();
        return true;
    }

    // The source waits in DoDragDrop until the target's drop is handled:
    // a drop that shows a box is made from a thread of its own, so that
    // the steps that follow can answer the box.
    static DWORD WINAPI dragThread(void* context) {
        Drag& drag = *static_cast<Drag*>(context);
        OleInitialize(nullptr);
        drag.effect = dragAndDrop(drag.at, drag.kind, drag.data);
        OleUninitialize();
        return 0;
    }

    bool dropAsync(const std::string& verb, const std::string& hex, std::string& failure) {
        if (dragThread_.valid()) return fail(failure, "a drag is running");
        if (!dragFor(verb, hex, drag_, failure)) return false;
        dragThread_.reset(CreateThread(nullptr, 0, dragThread, &drag_, 0, nullptr));
        if (!dragThread_.valid()) return fail(failure, "no thread");
        return true;
    }

    bool waitDrag(std::string& failure) {
        if (!dragThread_.valid()) return fail(failure, "no drag");
        const bool ended = WaitForSingleObject(dragThread_.get(), waitMs) == WAIT_OBJECT_0;
        if (!ended) return fail(failure, "the drag did not end");
        dragThread_.reset();
        if (drag_.effect < 0) return fail(failure, "the drag did not run");
        report_.set(key("effect"), drag_.effect);
        settle();
        return true;
    }

    bool second(const std::string& hex, bool wide, std::string& failure) {
        std::string arguments;
        if (!fromHex(hex, arguments)) return fail(failure, "bad hex");
        Child copy;
        if (!copy.start(options_.get("exe"), arguments, true, wide)) return fail(failure, "cannot start");
        return watchCopy(copy, failure);
    }

    bool secondVia(const std::string& viaHex, const std::string& hex, std::string& failure) {
        std::string via, arguments;
        if (!fromHex(viaHex, via) || !fromHex(hex, arguments)) return fail(failure, "bad hex");
        Child launcher;
        const std::string line = "run --exe \"" + options_.get("exe") + "\" --timeout 8000 -- " + arguments;
        if (!launcher.start(via, line)) return fail(failure, "cannot start");
        return watchCopy(launcher, failure);
    }

    // Waits for a second copy to end, answering its message boxes; records
    // whether it ended and the boxes' captions and texts.
    bool watchCopy(Child& copy, std::string& failure) {
        const bool ended = copy.watch(GetTickCount() + 10000, true);
        if (!ended) copy.kill();
        report_.set(key("ended"), ended ? 1 : 0);
        report_.set(key("exit_code"), static_cast<long long>(copy.exitCode()));
        report_.set(key("boxes"), static_cast<long long>(copy.dialogs().size()));
        for (std::size_t i = 0; i < copy.dialogs().size(); ++i) {
            report_.setBytes(key("box." + std::to_string(i + 1) + ".caption"), copy.dialogs()[i].caption);
            report_.setBytes(key("box." + std::to_string(i + 1) + ".text"), copy.dialogs()[i].text);
        }
        if (window_) settle();
        (void)failure;
        return true;
    }

    bool copyData(const std::string& code, const std::string& hex, std::string& failure) {
        std::string path, bytes;
        if (!fromHex(hex, path) || !readBytes(path, bytes)) return fail(failure, "cannot read the data");
        COPYDATASTRUCT data{};
        data.dwData = static_cast<ULONG_PTR>(std::strtoul(code.c_str(), nullptr, 10));
        data.cbData = static_cast<DWORD>(bytes.size());
        data.lpData = bytes.empty() ? nullptr : &bytes[0];
        DWORD_PTR result = 0;
        const LRESULT sent = SendMessageTimeoutA(window_, WM_COPYDATA, reinterpret_cast<WPARAM>(owner_),
                                                 reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &result);
        report_.set(key("sent"), sent ? 1 : 0);
        report_.set(key("answer"), static_cast<long long>(result));
        settle();
        return true;
    }

    const Options& options_;
    Child child_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND listView_ = nullptr;
    int rowMenuShift_ = 0;
    Report report_;
    std::set<HWND> handled_;
    std::vector<win::ScopedHandle> held_;
    std::unique_ptr<Child> pending_;  // a second copy started with second-async
    Drag drag_;                       // the drag of drag-async
    win::ScopedHandle dragThread_;
    int step_ = 0;
    HHOOK menuHook_ = nullptr;
};

}  // namespace

int sessionCommand(const Options& options) {
    std::string script;
    if (!options.has("exe") || !options.has("script") || !readBytes(options.get("script"), script)) {
        std::fprintf(stderr, "needs --exe and a readable --script\n");
        return 2;
    }
    std::vector<std::string> lines;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    OleInitialize(nullptr);
    int result;
    {
        Session session(options);
        result = session.run(lines) ? 0 : 1;
        session.finish();
    }
    OleUninitialize();
    return result;
}

}  // namespace driver
