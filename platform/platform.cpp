// Selection of the platform in use.
#include "platform/platform.h"

namespace platform {
namespace {
Platform* current = nullptr;
}

Platform& os() { return current ? *current : nativePlatform(); }

Platform* installPlatform(Platform* p) {
    Platform* previous = current ? current : &nativePlatform();
    current = p;
    return previous;
}
}  // namespace platform
