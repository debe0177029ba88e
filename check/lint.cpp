// The lint command: the settings file is loaded as Tavrin loads it, on the
// dry platform, then the passes read its text.
#include "check/lint.h"

#include "check/dry_settings.h"
#include "check/lint_context.h"
#include "settings/settings.h"
#include "settings/settings_text.h"

namespace {

const Text problemLabel{"問題", "problem"};
const Text noteLabel{"注意", "note"};
const Text oneProblem{"問題 {1} 件", "{1} problem"};
const Text problems{"問題 {1} 件", "{1} problems"};
const Text oneNote{"注意 {1} 件", "{1} note"};
const Text notes{"注意 {1} 件", "{1} notes"};
const Text moreFindings{"(ほかに {1} 件。最初の {2} 件だけを示しました)",
                        "({1} more not shown; only the first {2} are listed)"};

}  // namespace

LintResult lintSettingsFile(const SettingsFile& file, const CheckEnvironment& environment) {
    const DrySettings loaded(file, environment, 0);

    const bool tooLarge = file.text.size() > maxSettingsFileBytes;
    LintContext c(std::string_view(file.text).substr(0, maxSettingsFileBytes));
    c.system = environment.system;
    if (tooLarge) c.add(0, LintRule::fileTooLarge);
    lintFileBytes(c);
    findHeaderLines(c);
    lintHeaders(c);
    lintHostBlocks(c);
    lintSourceBlocks(c);
    lintSystemBlock(c);
    lintAssociationBlocks(c);
    lintListBlock(c);
    return c.finish();
}

int runLintCommand(const CheckOptions& options, const CheckEnvironment& environment,
                   CheckOutput& output) {
    const Language language = options.language;
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        output.err += error + "\n";
        return checkUsage;
    }
    const LintResult result = lintSettingsFile(file, environment);
    for (const Finding& f : result.findings) {
        std::string where = file.path + ":";
        if (f.line > 0) where += std::to_string(f.line) + ":";
        output.out += printable(where) + " " +
                      say(language, severityOf(f.rule) == Severity::problem ? problemLabel : noteLabel) +
                      ": " + printable(findingText(f, language)) + "\n";
    }
    const int total = result.problems + result.notes;
    if (static_cast<std::size_t>(total) > result.findings.size())
        output.out += say(language, moreFindings,
                          {std::to_string(total - static_cast<int>(result.findings.size())),
                           std::to_string(result.findings.size())}) + "\n";
    output.out += counted(language, result.problems, oneProblem, problems) +
                  (language == Language::japanese ? "、" : ", ") + counted(language, result.notes, oneNote, notes) +
                  "\n";
    return result.problems > 0 ? checkFindings : checkOk;
}
