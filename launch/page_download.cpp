// Page downloads arrive with the list window; until then every request
// yields the cancel marker, which callers treat as a refused download.
#include "launch/page_download.h"

#include "common/app_state.h"

std::string downloadPage(platform::WindowHandle, const std::string&, const std::string&) {
    return cancelMarker;
}
