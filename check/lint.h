// Lint of a settings file: every problem Tavrin would pass over in
// silence, with its line and a short reason. The rules read the text with
// Tavrin's own line cutting, key search, program look-up and option table,
// so what they say is what the loader and the dispatch do.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "check/check.h"
#include "check/messages.h"
#include "check/tool_setup.h"

enum class Severity { problem, note };

enum class LintRule {
    // The file as a whole.
    fileTooLarge, nulByte, controlByte, byteOrderMark, crOnlyLineEnds, lastLineWithoutBreak,
    lineTooLong, tabJoins, notText,
    // Block headers.
    headerWithoutClose, duplicateHeader, shadowedHeader, unknownKey, compoundExtension,
    textAfterHeader, exclusiveMarkNotLast, headerAfterNul, missingEnd, missingEndAtFileEnd,
    // The "[system]" block.
    unknownOption, notAnOption, optionTooShort, strayParameterLine, filterBeyondTenth,
    valueCut, tooManyItems, itemWithoutDot, blankInList, parameterElsewhere, tooManyParameters,
    parameterNameWithoutPercent, editorNotFound, editorFoundOnlyLater, loaderNotFound,
    alternateFileMissing, searchFolderMissing, numberIgnored, menuValueIgnored, schemeNamesNone,
    unwrapEntryMalformed, stripNameMalformed, stripEverything, optionValueUnknown,
    separatorBlanks,
    // Association blocks.
    programNotFound, programElsewhere, programIsFolder, subCommandWithoutProgram, subCommandsOfMissingProgram,
    subCommandOfEarlierProgram,
    closeWithoutOpen, groupWithoutCaption, groupNotClosed, markReadAsProgram, tooManyRows,
    loaderLineWithoutLoader, downloadSplitAfterSeparator, downloadFolderMissing,
    noProgramBeforeSeparator, givenMarkWithoutCleaning, separatorLookalike,
    // Placeholders.
    placeholderWithoutParam, unknownPlaceholder,
    // Host blocks ("[host:PATTERNS]").
    hostPatternMalformed, hostPatternEmpty, hostBlockNamesNoHost, hostPatternShadowed,
    hostBlockShadowed,
    // Source blocks ("[from:PATTERNS]").
    sourcePatternMalformed, sourcePatternEmpty, sourceBlockNamesNoProgram, sourcePatternShadowed,
    sourceBlockShadowed, sourcePatternWithoutExtension,
    // The "[list]" block.
    listProgramNotFound, listParameterWithoutProgram, listRunsOn, tooManyListPrograms,
    lastLintRule = tooManyListPrograms,
};

struct Finding {
    int line = 0;  // 0: the file as a whole
    LintRule rule = LintRule::fileTooLarge;
    std::vector<std::string> args;
};

struct LintResult {
    std::vector<Finding> findings;  // in line order; at most maxStoredFindings
    int problems = 0, notes = 0;    // all of them, stored or not
};

constexpr std::size_t maxStoredFindings = 1000;

Severity severityOf(LintRule rule);
// The finding's reason in `language`.
std::string findingText(const Finding& finding, Language language);

// Loads the settings file the way Tavrin does (on a dry platform) and lints
// its text.
LintResult lintSettingsFile(const SettingsFile& file, const CheckEnvironment& environment);

int runLintCommand(const CheckOptions& options, const CheckEnvironment& environment,
                   CheckOutput& output);
