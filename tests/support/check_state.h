// Keeps Tavrin's process-wide records across a test that runs the check
// tool, which points them at its own settings file.
#pragma once
#include "common/app_state.h"
#include "common/url_list.h"
#include "settings/settings.h"

class SavedTavrinState {
public:
    SavedTavrinState()
        : paths_(programPaths), run_(runState), start_(startOptions), source_(linkSource),
          settings_(settings), parameters_(userParameters), filters_(filterGroups),
          list_(listPrograms) {}
    ~SavedTavrinState() {
        programPaths = paths_;
        runState = run_;
        startOptions = start_;
        linkSource = source_;
        settings = settings_;
        userParameters = parameters_;
        filterGroups = filters_;
        listPrograms = list_;
        urlList.urlCount = 0;
    }
    SavedTavrinState(const SavedTavrinState&) = delete;
    SavedTavrinState& operator=(const SavedTavrinState&) = delete;

private:
    ProgramPaths paths_;
    RunState run_;
    StartOptions start_;
    LinkSource source_;
    Settings settings_;
    UserParameters parameters_;
    FilterGroups filters_;
    ListPrograms list_;
};
