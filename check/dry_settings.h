// Tavrin's records loaded from a settings file as Tavrin loads them at
// start, on the dry platform; the platform and ports stay installed while
// the object lives, so that what reads the records next sees Tavrin's
// view of the files.
#pragma once
#include "check/check.h"
#include "check/recording_ports.h"
#include "check/tool_setup.h"

class DrySettings {
public:
    // `systemOnly` as loadSettings takes it: 1 reads the "[system]" block
    // alone.
    DrySettings(const SettingsFile& file, const CheckEnvironment& environment, int systemOnly);
    DrySettings(const DrySettings&) = delete;
    DrySettings& operator=(const DrySettings&) = delete;

private:
    EffectLog log_;
    DryPlatform dry_;
    RecordingUi ui_;
    RecordingBrowser browser_;
    ScopedPorts ports_;
};
