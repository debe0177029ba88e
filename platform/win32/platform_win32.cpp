// The build's real platform on Windows.
#include "platform/win32/win32_platform.h"

namespace platform {

Platform& nativePlatform() {
    static Win32Platform instance;
    return instance;
}

}  // namespace platform
