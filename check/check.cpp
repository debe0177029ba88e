// The check tool's commands.
#include "check/check.h"

#include "check/lint.h"
#include "check/links_command.h"
#include "check/open_command.h"
#include "check/options.h"

namespace {
const Text badOption{"分からない指定です: {1}", "unknown or incomplete option: {1}"};
const Text badCommand{"分からないコマンドです: {1}", "unknown command: {1}"};
}  // namespace

int runCheck(const std::vector<std::string>& words, const CheckEnvironment& environment,
             CheckOutput& output) {
    CheckOptions options;
    std::string error;
    const bool parsed = parseCheckOptions(words, options, error);
    output.raw = options.raw;
    if (!parsed) {
        output.err += say(options.language, badOption, {error}) + "\n" + usageText(options.language);
        return checkUsage;
    }
    if (options.help) {
        output.out += usageText(options.language);
        return checkOk;
    }
    if (options.command == "lint") return runLintCommand(options, environment, output);
    if (options.command == "open") return runOpenCommand(options, environment, output);
    if (options.command == "links") return runLinksCommand(options, environment, output);
    if (!options.command.empty()) output.err += say(options.language, badCommand, {options.command}) + "\n";
    output.err += usageText(options.language);
    return checkUsage;
}
