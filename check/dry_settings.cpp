// Loading the settings on the dry platform.
#include "check/dry_settings.h"

#include "settings/settings.h"

DrySettings::DrySettings(const SettingsFile& file, const CheckEnvironment& environment, int systemOnly)
    : dry_(toolPlatform(environment), log_, environment.converters),
      ui_(log_, false),
      browser_(log_),
      ports_(dry_, ui_, browser_) {
    resetTavrinState(file);
    dry_.setProgramFolder(file.folder);
    loadSettings(nullptr, systemOnly);
}
