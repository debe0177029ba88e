// "open": a dry run of Tavrin's start with the given URLs. The real
// start-up action runs (switches, settings loader, recognition, routing,
// association dispatch) on the dry platform; then the report names the
// source program assumed, the blocks read, the menu as Tavrin would show
// it with what choosing each item would do, the decision, and the URLs
// that would stay unopened (check/open_words, check/open_tsv).
#include "check/open_command.h"

#include <string>
#include <vector>

#include "app/routing.h"
#include "app/switches.h"
#include "check/dry_run.h"
#include "check/open_result.h"
#include "common/app_state.h"
#include "common/path_ops.h"
#include "common/source_program.h"
#include "launch/select.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "settings/settings_text.h"

namespace {

const Text loadFailed{"設定ファイルを読めません: {1}", "cannot read the settings file: {1}"};

bool bridgeLibraryFound(const CheckEnvironment& environment, const std::string& folder) {
    platform::Platform& os = toolPlatform(environment);
    std::string found;
    return os.fileExists(folder + "tvDDE.dll") || os.searchPath(nullptr, "tvDDE.dll", found);
}

std::string dispatchedText(const CheckEnvironment& environment, const std::string& folder) {
    std::string text;
    const std::string& path = dispatchState.useAlternateFile == 1 ? settings.alternatePath
                                                                   : programPaths.settingsPath;
    EffectLog unused;
    DryPlatform look(toolPlatform(environment), unused, nullptr);
    look.setProgramFolder(folder);
    look.readFile(path, text, maxSettingsFileBytes, false);
    return text;
}

}  // namespace

std::string tavrinCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        const bool blank = word.find_first_of(" \t") != std::string::npos;
        if (blank && word.find('"') == std::string::npos) line += "\"" + word + "\"";
        else line += word;
    }
    return line;
}

int runOpenCommand(const CheckOptions& options, const CheckEnvironment& environment,
                   CheckOutput& output) {
    const Language language = options.language;
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        output.err += printable(error) + "\n";
        return checkUsage;
    }
    resetTavrinState(file);
    DryRun run(environment, file.folder);
    ScopedPorts ports(run.os, run.ui, run.browser);
    // Natively there is no bridge library to find; the check then tells
    // what Tavrin does with the library that ships beside it.
    run.os.bridgeLibraryPresent = !environment.windows || bridgeLibraryFound(environment, file.folder);

    // The steps of a first copy's creation and its start-up action.
    // A file or folder is the one the user names from where they are;
    // Tavrin's own folder only stands in for the names inside the
    // settings file.
    std::vector<std::string> words = options.words;
    platform::Platform& real = toolPlatform(environment);
    for (std::string& word : words) {
        std::string full;
        if (!rootedPath(word) && (real.fileExists(word) || real.isDirectory(word)) &&
            real.fullPathName(word, full))
            word = full;
    }
    const std::string commandLine = tavrinCommandLine(words);
    runState.currentTarget = commandLine;
    // The program the link came from is the one named, or none: the tool
    // itself runs in a console, which tells nothing.
    if (options.fromGiven) runState.startSourceProgram = sourceProgramFrom(options.from);
    applySwitches(runState.currentTarget, switchesFull);
    if (!loadSettings(nullptr, 0)) {
        output.err += say(language, loadFailed, {printable(programPaths.settingsPath)}) + "\n";
        return checkUsage;
    }
    runState.shiftFlag = options.shift ? 1 : 0;
    runState.ctrlFlag = options.ctrl ? 1 : 0;
    applyKeyInversions(runState.currentTarget);
    OpenResult result{run, commandLine, recognizeTargets()};
    result.sourceGiven = options.fromGiven;
    const std::size_t startupMark = run.log.all().size();
    startupAction(nullptr, runState.shiftFlag, runState.ctrlFlag);

    const auto mark = run.log.all().begin() + static_cast<long>(startupMark);
    result.atStart.assign(run.log.all().begin(), mark);
    result.effects.assign(mark, run.log.all().end());
    result.decision = decide(result.effects);
    if (result.decision == Decision::menu && associationTable.programCount == 0)
        result.decision = Decision::nothing;
    if (!dispatchState.sectionKey.empty()) result.text = dispatchedText(environment, file.folder);
    const int status = result.decision == Decision::toolsMenu || result.decision == Decision::nothing
                           ? checkFindings
                           : checkOk;
    if (options.tsv) writeOpenTsv(output, result);
    else writeOpenWords(language, output, result);
    return status;
}
