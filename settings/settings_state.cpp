// The process-wide records filled by the settings loader.
#include "settings/settings.h"

Settings settings;
UserParameters userParameters;
FilterGroups filterGroups;
ListPrograms listPrograms;
