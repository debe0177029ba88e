// Owners for the user-interface handles the program makes: menus (with
// their submenus), bitmaps, icons of its own, device contexts and objects
// selected into them. Non-copyable; each gives its handle back on every
// way out, and those that may outlive their scope can be moved.
#pragma once
#include "platform/win32/win.h"

namespace win {

// Empties every submenu the same way before destroying it, then destroys
// the menu itself.
void destroyMenuTree(HMENU menu);

// A menu and all its submenus.
class ScopedMenu {
public:
    explicit ScopedMenu(HMENU menu = nullptr) : menu_(menu) {}
    ~ScopedMenu() { reset(); }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    ScopedMenu(ScopedMenu&& o) noexcept : menu_(o.release()) {}
    ScopedMenu& operator=(ScopedMenu&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }

    HMENU get() const { return menu_; }
    explicit operator bool() const { return menu_ != nullptr; }
    // Gives the menu up, for example to a parent item that now owns it.
    HMENU release() {
        HMENU menu = menu_;
        menu_ = nullptr;
        return menu;
    }
    void reset(HMENU menu = nullptr) {
        if (menu_) destroyMenuTree(menu_);
        menu_ = menu;
    }

private:
    HMENU menu_;
};

class ScopedBitmap {
public:
    explicit ScopedBitmap(HBITMAP bitmap = nullptr) : bitmap_(bitmap) {}
    ~ScopedBitmap() { reset(); }
    ScopedBitmap(const ScopedBitmap&) = delete;
    ScopedBitmap& operator=(const ScopedBitmap&) = delete;
    ScopedBitmap(ScopedBitmap&& o) noexcept : bitmap_(o.bitmap_) { o.bitmap_ = nullptr; }
    ScopedBitmap& operator=(ScopedBitmap&& o) noexcept {
        if (this != &o) {
            reset();
            bitmap_ = o.bitmap_;
            o.bitmap_ = nullptr;
        }
        return *this;
    }

    HBITMAP get() const { return bitmap_; }
    explicit operator bool() const { return bitmap_ != nullptr; }
    void reset() {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }

private:
    HBITMAP bitmap_;
};

// An icon the program created or was given by the shell (never a shared
// resource icon), destroyed with DestroyIcon.
class ScopedIcon {
public:
    explicit ScopedIcon(HICON icon = nullptr) : icon_(icon) {}
    ~ScopedIcon() { reset(); }
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;

    HICON get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void reset(HICON icon = nullptr) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_;
};

// A window's device context from GetDC, given back with ReleaseDC.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC() { if (dc_) ReleaseDC(window_, dc_); }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context from CreateCompatibleDC, ended with DeleteDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~ScopedMemoryDC() { if (dc_) DeleteDC(dc_); }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// An object selected into a device context, deselected again at the end
// (a bitmap must not be selected anywhere when it is used or deleted).
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelection() { if (previous_) SelectObject(dc_, previous_); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font the program created, deleted when it is no longer shown.
class ScopedFont {
public:
    explicit ScopedFont(HFONT font = nullptr) : font_(font) {}
    ~ScopedFont() { reset(); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

    HFONT get() const { return font_; }
    // Deletes the font held and takes `font`; only once no window shows
    // the old one any more.
    void reset(HFONT font = nullptr) {
        if (font_) DeleteObject(font_);
        font_ = font;
    }

private:
    HFONT font_;
};

}  // namespace win
