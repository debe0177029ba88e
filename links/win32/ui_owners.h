// Owners for the list window's user-interface handles: a menu with all its
// submenus, and an icon made for this program. Non-copyable; movable to a
// longer-lived owner.
#pragma once
#include "platform/win32/win.h"

namespace win {

// Empties every submenu the same way before destroying it, then destroys
// the menu itself.
void destroyMenuTree(HMENU menu);

class ScopedMenu {
public:
    ScopedMenu() = default;
    explicit ScopedMenu(HMENU m) : m_(m) {}
    ~ScopedMenu() { reset(); }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    ScopedMenu(ScopedMenu&& o) noexcept : m_(o.release()) {}
    ScopedMenu& operator=(ScopedMenu&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }

    HMENU get() const { return m_; }
    HMENU release() {
        HMENU m = m_;
        m_ = nullptr;
        return m;
    }
    void reset(HMENU m = nullptr) {
        if (m_) destroyMenuTree(m_);
        m_ = m;
    }

private:
    HMENU m_ = nullptr;
};

// An icon the program created or was given by the shell (never a shared
// resource icon), destroyed with DestroyIcon.
class ScopedIcon {
public:
    ScopedIcon() = default;
    explicit ScopedIcon(HICON i) : i_(i) {}
    ~ScopedIcon() { reset(); }
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;

    HICON get() const { return i_; }
    void reset(HICON i = nullptr) {
        if (i_) DestroyIcon(i_);
        i_ = i;
    }

private:
    HICON i_ = nullptr;
};

}  // namespace win
