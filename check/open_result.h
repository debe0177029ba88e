// What a dry run of Tavrin's start found, and the two forms the open
// command tells it in: words for people, tab-separated lines for scripts.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "check/check.h"
#include "check/dry_run.h"
#include "check/effects.h"
#include "check/open_decision.h"
#include "check/open_targets.h"

struct OpenResult {
    OpenResult(DryRun& dryRun, std::string line, Recognized targets)
        : run(dryRun), commandLine(std::move(line)), seen(std::move(targets)) {}
    DryRun& run;
    std::string commandLine;  // Tavrin's command line for the words
    Recognized seen;
    std::string text;         // the settings text the dispatch read; empty when none ran
    Decision decision = Decision::nothing;
    std::vector<Effect> atStart, effects;  // before the routing, and from it on
    bool sourceGiven = false;              // --from
};

void writeOpenTsv(CheckOutput& output, OpenResult& result);
void writeOpenWords(Language language, CheckOutput& output, OpenResult& result);
