// The open command's tab-separated lines: one record a line, its kind
// first ("@settings", "@url", "@key", "@item", "@decision" ...), then the
// effects as the effect lines name them.
#include <string>

#include "app/recognize.h"
#include "check/blocks_read.h"
#include "check/effect_text.h"
#include "check/menu_report.h"
#include "check/open_result.h"
#include "check/source_report.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/url_cleaning.h"
#include "settings/association_table.h"
#include "settings/settings.h"

void writeOpenTsv(CheckOutput& output, OpenResult& result) {
    DryRun& run = result.run;
    const Recognized& seen = result.seen;
    const std::string& text = result.text;
    const Decision decision = result.decision;
    std::string& out = output.out;
    out += "@settings\t" + programPaths.settingsPath + "\n";
    if (dispatchState.useAlternateFile == 1) out += "@alternate\t" + settings.alternatePath + "\n";
    out += "@commandline\t" + result.commandLine + "\n";
    if (sourceWorthTelling(result.sourceGiven, text)) writeSourceTsv(out, result.sourceGiven);
    const char* const label = seen.result == recognizedFolder ? "@folder\t"
                              : seen.result == recognizedHtmlFile || seen.result == recognizedOtherFile ? "@file\t"
                                                                                                        : "@url\t";
    for (const UrlEntry& e : seen.targets) {
        out += label + e.url + "\t" + e.title + "\n";
        if (e.givenUrl.empty()) continue;
        out += "@given\t" + e.givenUrl + "\n";
        for (const CleaningStep& step : cleanUrl(e.givenUrl, settings.cleaning, true).steps)
            out += std::string("@cleaned\t") + (step.unwrapped ? "unwrap" : "strip") + "\t" + step.rule + "\t" +
                   step.detail + "\t" + (step.builtIn ? "built-in" : "own") + "\n";
    }
    for (int i = 0; i < seen.overlong.noteCount; ++i) {
        const OverlongNote& note = seen.overlong.notes[static_cast<std::size_t>(i)];
        if (note.limit == 0) continue;
        out += "@too-long\t" + std::to_string(note.limit) + "\t" + std::to_string(note.count) + "\t" + note.head + "\n";
    }
    if (seen.targets.empty() && seen.overlong.noteCount == 0) {
        if (startOptions.clipboardStart || startOptions.browserQueryMode)
            out += "@not-read\t" + std::string(startOptions.clipboardStart ? "clipboard" : "browser") + "\n";
        else out += "@no-url\n";
    }
    for (const Effect& e : result.atStart) out += "@at-start\t" + effectTsv(e) + "\n";
    if (!dispatchState.sectionKey.empty()) writeBlocksTsv(out, blocksRead(text, seen.targets));
    if (const AssociationItem* program = reportedProgram(decision)) {
        out += "@program\t" + program->caption + "\t" + program->command + "\n";
        if (program->subCount == 1) {
            const AssociationItem& sub = associationTable.items[static_cast<std::size_t>(program->firstSub)];
            const char mark = sub.subKind == subRunEach           ? ']'
                              : sub.subKind == subDownload        ? '*'
                              : sub.subKind == subLoaderDownload  ? '#'
                                                                  : '>';
            const bool saves = mark == '*' || mark == '#';
            out += std::string("@program-sub\t") + mark + "\t" + (saves ? sub.folder : "") + "\t" + sub.command + "\n";
        }
    }
    const MenuLayoutOptions options{settings.showIcons, settings.subCommandMark};
    if (decision == Decision::menu) {
        const MenuLayout menu = menuAsShown(seen.targets, options);
        MenuWriter writer{nullptr, &out, run, seen.targets, options};
        writer.write(menu, 0);
    }
    const Unopened why = unopenedReason(decision, seen.targets.size());
    if (why != Unopened::none)
        for (std::size_t i = 1; i < seen.targets.size(); ++i)
            out += "@unopened\t" + std::to_string(i + 1) + "\t" + seen.targets[i].url + "\t" +
                   (why == Unopened::firstOnly ? "first-only" : "system-first") + "\n";
    out += std::string("@decision\t") + decisionName(decision) + "\n";
    for (const Effect& e : result.effects) out += effectTsv(e) + "\n";
    if (decision == Decision::menu && seen.targets.size() > 1)
        out += "@several\t" + std::to_string(seen.targets.size()) + "\n";
}
