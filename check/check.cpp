// The check tool's commands.
#include "check/check.h"

#include "check/browsers_command.h"
#include "check/doctor_command.h"
#include "check/lint.h"
#include "check/links_command.h"
#include "check/open_command.h"
#include "check/options.h"

namespace {
const Text seeHelp{"使い方は {1} --help で表示されます。", "{1} --help shows how to use it."};
}  // namespace

int runCheck(const std::vector<std::string>& words, const CheckEnvironment& environment,
             CheckOutput& output) {
    CheckOptions options;
    std::string error;
    const bool parsed = parseCheckOptions(words, options, error);
    output.raw = options.raw;
    output.utf8 = options.utf8;
    if ((parsed && options.help) || words.empty()) {
        (words.empty() ? output.err : output.out) += usageText(options.language, environment.windows);
        return words.empty() ? checkUsage : checkOk;
    }
    if (!parsed) {
        output.err += error + "\n" +
                      say(options.language, seeHelp, {environment.windows ? "TavrinCheck.exe" : "tavrin-check"}) +
                      "\n";
        return checkUsage;
    }
    if (options.command == "lint") return runLintCommand(options, environment, output);
    if (options.command == "open") return runOpenCommand(options, environment, output);
    if (options.command == "browsers") return runBrowsersCommand(options, environment, output);
    if (options.command == "doctor") return runDoctorCommand(options, environment, output);
    return runLinksCommand(options, environment, output);
}
