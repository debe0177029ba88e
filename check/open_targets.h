// The targets of a dry run as recognition found them on the command line,
// and their account in words: link cleaning and URLs too long to open.
#pragma once
#include <vector>

#include "check/dry_run.h"
#include "common/overlong_url.h"
#include "common/url_list.h"

// What recognition made of the command line, as the start-up action
// finds it before it routes anything.
struct Recognized {
    int result = 0;
    std::vector<UrlEntry> targets;
    OverlongUrls overlong;  // URLs too long to open
};

// Recognises runState.currentTarget as the start-up action would, and
// leaves urlList empty again.
Recognized recognizeTargets();

// What link cleaning made of a target: the URL as given, and each rule
// that changed it.
void reportCleaning(Report& r, const UrlEntry& target);
// The URLs too long to open, with their limit.
void reportOverlong(Report& r, const OverlongUrls& overlong);
