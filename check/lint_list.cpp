// The "[list]" block: it has no end marker and no comments; every line is
// tried as a program until ten are taken.
#include "check/lint_context.h"
#include "common/text.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "template/folder_date.h"

void lintListBlock(LintContext& c) {
    const std::size_t start = lineAfterHeader(c.text, "[list]");
    if (start == text::npos) return;
    const int capacity = static_cast<int>(listPrograms.rows.size());
    int taken = 0;
    LineCursor cursor(c.text, start, c.lineOf(start));
    SettingsLine l;
    while (cursor.next(l)) {
        if (const HeaderLine* next = c.headerStartingAt(l.offset)) {
            if (taken < capacity) c.add(c.lineOf(start) - 1, LintRule::listRunsOn, {next->key, std::to_string(next->line)});
            break;
        }
        const std::string line = expandWhenParametersOn(l.body());
        if (!line.empty() && line[0] == '>') {
            if (taken == 0) c.add(l.number, LintRule::listParameterWithoutProgram);
            else lintPlaceholders(c, l.number, l.body().substr(1));
            continue;
        }
        if (line.empty() || line[0] == ';' || text::startsWithNoCase(line, "%end")) continue;
        if (taken >= capacity) {
            c.add(l.number, LintRule::tooManyListPrograms);
            break;
        }
        const std::size_t split = text::findNoCase(line, settings.separator);
        const std::string program = split == text::npos ? line : line.substr(0, split);
        lintPlaceholders(c, l.number, l.body());
        const LintContext::Lookup found = c.lookUpProgram(program);
        if (found.found && !found.folder) ++taken;
        else {
            c.add(l.number, LintRule::listProgramNotFound, {program});
            lintProgramElsewhere(c, l.number, program);
            lintSeparatorLookalike(c, l.number, program);
        }
    }
}
