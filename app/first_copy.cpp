// A first copy's settings, and the clean slate a second copy takes over
// from.
#include "app/first_copy.h"

#include "app/switches.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/text.h"
#include "common/url_list.h"
#include "settings/settings.h"

int loadFirstCopySettings(platform::WindowHandle window) {
    text::assignCut(programPaths.settingsPath,
                    programPaths.programFolder + programPaths.settingsFileName, cap::path);
    // Switches come before the settings so that "/#s=", "/#u=" and "/#m="
    // act on the loading.
    if (!runState.currentTarget.empty()) applySwitches(runState.currentTarget, switchesFull);
    return loadSettings(window, 0);
}

void forgetSecondCopyState() {
    // The small-icon size is the system's, taken at window creation.
    const int iconWidth = settings.smallIconWidth;
    const int iconHeight = settings.smallIconHeight;
    settings = Settings{};
    settings.smallIconWidth = iconWidth;
    settings.smallIconHeight = iconHeight;
    userParameters = UserParameters{};
    filterGroups = FilterGroups{};
    listPrograms = ListPrograms{};
    startOptions = StartOptions{};
    linkSource = LinkSource{};
    urlList.urlCount = 0;
    runState.transferBuffer.clear();
    clearOverlongUrls();
}
