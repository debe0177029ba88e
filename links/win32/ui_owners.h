// Owners for the list window's user-interface handles: a menu with all its
// submenus, and an icon made for this program. Non-copyable; movable to a
// longer-lived owner.
#pragma once
#include "platform/win32/win.h"

namespace win {

// Empties every submenu the same way before destroying it, then destroys
// the menu itself.
void destroyMenuTree(HMENU menu);

class ScopedMenuTree {
public:
    ScopedMenuTree() = default;
    explicit ScopedMenuTree(HMENU m) : m_(m) {}
    ~ScopedMenuTree() { reset(); }
    ScopedMenuTree(const ScopedMenuTree&) = delete;
    ScopedMenuTree& operator=(const ScopedMenuTree&) = delete;
    ScopedMenuTree(ScopedMenuTree&& o) noexcept : m_(o.release()) {}
    ScopedMenuTree& operator=(ScopedMenuTree&& o) noexcept {
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
class ScopedOwnedIcon {
public:
    ScopedOwnedIcon() = default;
    explicit ScopedOwnedIcon(HICON i) : i_(i) {}
    ~ScopedOwnedIcon() { reset(); }
    ScopedOwnedIcon(const ScopedOwnedIcon&) = delete;
    ScopedOwnedIcon& operator=(const ScopedOwnedIcon&) = delete;

    HICON get() const { return i_; }
    void reset(HICON i = nullptr) {
        if (i_) DestroyIcon(i_);
        i_ = i;
    }

private:
    HICON i_ = nullptr;
};

}  // namespace win
