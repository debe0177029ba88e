// Another process's window in front of the desktop for as long as this
// object lives.
#pragma once
#include <string>

#include "tests/e2e/driver/support.h"

namespace driver {

class FrontWindow {
public:
    // Starts `exe` (a copy of the driver) with "show-window" and waits for
    // its window to be the foreground window; false when it never was.
    bool start(const std::string& exe);
    ~FrontWindow();

private:
    Child helper_;
    HWND window_ = nullptr;
};

}  // namespace driver
