// The progress window of a running download. It is not a dialog of its
// own loop: the download's watch calls update() about ten times a second,
// which shows the figures and handles the input waiting for the thread
// meanwhile. Cancel, Escape and the close box all ask to cancel; the
// window stays until the download has stopped and the object goes.
#include "launch/win32/progress_window.h"

#include "common/dpi.h"
#include "launch/download_figures.h"
#include "platform/win32/dpi.h"
#include "platform/win32/scoped_gui.h"
#include "platform/win32/ui_libraries.h"

namespace {

constexpr const char* captionText = "ダウンロード中";
constexpr const char* cancelText = "キャンセル";

// The layout, in pixels at 96 dots per inch.
struct Layout {
    int margin = 12;
    int width = 380;  // client area
    int lineHeight = 18;
    int gap = 8;
    int barHeight = 16;
    int buttonWidth = 88;
    int buttonHeight = 26;
};

class Win32ProgressWindow final : public ProgressWindow {
public:
    Win32ProgressWindow(HWND owner, const std::string& fileName);
    ~Win32ProgressWindow() override;
    Win32ProgressWindow(const Win32ProgressWindow&) = delete;
    Win32ProgressWindow& operator=(const Win32ProgressWindow&) = delete;

    bool made() const { return window_ != nullptr; }
    bool update(const std::string& amount, const std::string& rate, int permille) override;
    void askToCancel() { cancelled_ = true; }

private:
    HWND child(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
               int id = 0);
    void setText(HWND control, std::string& shown, const std::string& text);
    void pumpMessages();

    HWND owner_;
    int dpi_ = 96;
    bool ownerWasEnabled_ = false;
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    HWND amount_ = nullptr;
    HWND rate_ = nullptr;
    win::ScopedFont font_;
    std::string shownAmount_, shownRate_, shownCaption_;
    int shownPermille_ = -2;
    bool cancelled_ = false;
};

LRESULT CALLBACK progressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32ProgressWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && self) self->askToCancel();
        return 0;
    case WM_CLOSE:
        if (self) self->askToCancel();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = progressProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MYICON");
    windowClass.lpszClassName = progressWindowClass;
    registered = RegisterClassA(&windowClass) != 0;
    return registered;
}

// The font message boxes use, at the size for `dpi`.
HFONT messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return createFontForDpi(metrics.lfMessageFont, dpi);
}

// Where the window goes: centred on its owner when that shows, else on
// the screen's work area.
POINT centreFor(HWND owner) {
    RECT area{};
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

}  // namespace

Win32ProgressWindow::Win32ProgressWindow(HWND owner, const std::string& fileName)
    : owner_(owner) {
    platform::initCommonControls(ICC_PROGRESS_CLASS);
    if (!registerClass()) return;

    // Laid out for the display that holds its centre.
    const POINT centre = centreFor(owner);
    dpi_ = dpiAtPoint(centre);
    font_.reset(messageFont(dpi_));
    auto px = [this](int at96) { return scaleForDpi(at96, dpi_); };
    const Layout l;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    const int clientHeight = l.margin + l.lineHeight + l.gap + l.barHeight + l.gap + l.lineHeight +
                             l.margin + l.buttonHeight + l.margin;
    RECT frame{0, 0, px(l.width), px(clientHeight)};
    adjustWindowRectForDpi(frame, style, false, exStyle, dpi_);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    window_ = CreateWindowExA(exStyle, progressWindowClass, captionText, style,
                              centre.x - width / 2, centre.y - height / 2, width, height, owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    const int inner = l.width - 2 * l.margin;
    int y = l.margin;
    child("STATIC", fileName.c_str(), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, l.margin, y, inner,
          l.lineHeight);
    y += l.lineHeight + l.gap;
    bar_ = child(PROGRESS_CLASSA, "", 0, l.margin, y, inner, l.barHeight);
    SendMessageA(bar_, PBM_SETRANGE32, 0, 1000);
    y += l.barHeight + l.gap;
    amount_ = child("STATIC", "", SS_LEFT | SS_NOPREFIX, l.margin, y, inner * 2 / 3, l.lineHeight);
    rate_ = child("STATIC", "", SS_RIGHT | SS_NOPREFIX, l.margin + inner * 2 / 3, y, inner / 3,
                  l.lineHeight);
    y += l.lineHeight + l.margin;
    HWND cancel = child("BUTTON", cancelText, BS_DEFPUSHBUTTON | WS_TABSTOP,
                        l.width - l.margin - l.buttonWidth, y, l.buttonWidth, l.buttonHeight, IDCANCEL);

    // As under a dialog: the owner takes no input while this shows.
    if (owner_) ownerWasEnabled_ = EnableWindow(owner_, FALSE) == 0;
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    SetFocus(cancel);
    UpdateWindow(window_);
}

Win32ProgressWindow::~Win32ProgressWindow() {
    if (!window_) return;
    // The owner first, so that it takes the activation back.
    if (owner_ && ownerWasEnabled_) EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
}

HWND Win32ProgressWindow::child(const char* className, const char* text, DWORD style, int x, int y,
                                int w, int h, int id) {
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style,
                                   scaleForDpi(x, dpi_), scaleForDpi(y, dpi_), scaleForDpi(w, dpi_),
                                   scaleForDpi(h, dpi_), window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control && font_.get())
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
}

void Win32ProgressWindow::setText(HWND control, std::string& shown, const std::string& text) {
    if (shown == text) return;
    shown = text;
    SetWindowTextA(control, text.c_str());
}

void Win32ProgressWindow::pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that waits for it.
            PostQuitMessage(static_cast<int>(message.wParam));
            cancelled_ = true;
            return;
        }
        if (IsDialogMessageA(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool Win32ProgressWindow::update(const std::string& amount, const std::string& rate, int permille) {
    if (permille != shownPermille_) {
        const bool known = permille >= 0;
        if (known != (shownPermille_ >= 0) || shownPermille_ == -2) {
            // A bar that moves to and fro while the size is unknown.
            LONG_PTR style = GetWindowLongPtrA(bar_, GWL_STYLE);
            style = known ? (style & ~static_cast<LONG_PTR>(PBS_MARQUEE)) : (style | PBS_MARQUEE);
            SetWindowLongPtrA(bar_, GWL_STYLE, style);
            SendMessageA(bar_, PBM_SETMARQUEE, known ? FALSE : TRUE, 0);
        }
        if (known) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(permille), 0);
        shownPermille_ = permille;
        std::string caption = captionText;
        if (known) caption += " (" + decimalText(static_cast<unsigned>(permille) / 10) + "%)";
        setText(window_, shownCaption_, caption);
    }
    setText(amount_, shownAmount_, amount);
    setText(rate_, shownRate_, rate);
    pumpMessages();
    return !cancelled_;
}

std::unique_ptr<ProgressWindow> openProgressWindow(HWND owner, const std::string& fileName) {
    auto window = std::make_unique<Win32ProgressWindow>(owner, fileName);
    if (!window->made()) return nullptr;
    return window;
}
