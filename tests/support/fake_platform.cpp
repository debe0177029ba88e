// The steerable test platform.
#include "tests/support/fake_platform.h"

#include "common/text.h"

FakePlatform::FakePlatform()
    : real_(platform::nativePlatform()), previous_(platform::installPlatform(this)) {}

FakePlatform::~FakePlatform() {
    platform::installPlatform(previous_ == &platform::nativePlatform() ? nullptr : previous_);
}

bool FakePlatform::specialFolderPath(platform::WindowHandle owner, int csidl, std::string& out) {
    if (useRealSpecialFolders) return real_.specialFolderPath(owner, csidl, out);
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return false;
    out = it->second;
    return true;
}

bool FakePlatform::clipboardText(platform::WindowHandle, std::string& out, std::size_t max) {
    if (!clipboard || clipboard->empty()) return false;
    out = clipboard->substr(0, max ? max - 1 : 0);
    return true;
}
