// Association blocks, each read the way parseAssociationSection reads it:
// programs looked up with the loader's search list and separator, sub-
// command lines, groups and marks, and where each block ends.
#include "check/lint_context.h"
#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "template/folder_date.h"

namespace {

bool isSubMarker(char ch) { return ch == '>' || ch == ']' || ch == '*' || ch == '#'; }

struct BlockWalk {
    bool hasProgram = false;  // a program line came since the block or group began
    int programLine = 0;      // the line of the program sub-commands attach to
    int droppedLine = 0;      // a program line after it that was not found
    int missingLine = 0;      // a program line not found while none is taken
    bool missingTold = false;
    bool afterProgram = false;
    std::vector<int> openGroups;  // lines of the "{" still open
    int rows = 0;
};

void lintCut(LintContext& c, int line, const char* what, std::string_view value) {
    if (value.size() > cap::path - 1)
        c.add(line, LintRule::valueCut, {what, std::to_string(cap::path - 1), std::string(value)});
}

void lintSubCommand(LintContext& c, const SettingsLine& l, std::string_view line, BlockWalk& w) {
    if (w.droppedLine != 0) {
        c.add(l.number, LintRule::subCommandOfEarlierProgram,
              {std::to_string(w.droppedLine), std::to_string(w.programLine)});
        w.droppedLine = 0;
    }
    const char marker = line[0];
    const std::size_t d = text::findNoCase(line, settings.separator);
    const bool hasSep = d != text::npos && d >= 1;
    if (marker == '>' || marker == ']') {
        const std::string_view templ = hasSep ? line.substr(1, d - 1) : line.substr(1);
        lintCut(c, l.number, "template", templ);
        if (hasSep) lintCut(c, l.number, "caption", line.substr(d + settings.separator.size()));
        lintPlaceholders(c, l.number, templ);
        return;
    }
    if (marker == '#' && settings.loaderProgram.empty())
        c.add(l.number, LintRule::loaderLineWithoutLoader);
    std::size_t gt = text::findByte(line, '>', 1);
    if (hasSep && gt != text::npos && gt > d) {
        c.add(l.number, LintRule::downloadSplitAfterSeparator);
        gt = text::npos;
    }
    std::string_view folder, templ;
    if (gt != text::npos) {
        folder = line.substr(1, gt - 1);
        templ = hasSep ? line.substr(gt + 1, d - gt - 1) : line.substr(gt + 1);
    } else if (hasSep) {
        folder = line.substr(1, d - 1);
    }
    lintPlaceholders(c, l.number, folder);
    lintPlaceholders(c, l.number, templ);
    lintCut(c, l.number, "template", templ);
    // The folder is expanded with the folder placeholders only; one that
    // does not name a folder means the temporary folder.
    if (!folder.empty()) {
        const std::string expanded = expandWhenParametersOn(folder);
        if (expanded.find('%') == std::string::npos && !platform::os().isDirectory(expanded))
            c.add(l.number, LintRule::downloadFolderMissing, {std::string(folder)});
    }
}

void lintProgramLine(LintContext& c, const SettingsLine& l, std::string_view line, BlockWalk& w) {
    if (!line.empty() && line[0] == givenUrlsMark) {
        line = text::skipLeadingSpaces(line.substr(1));
        if (!settings.cleaning.any()) c.add(l.number, LintRule::givenMarkWithoutCleaning);
    }
    lintPlaceholders(c, l.number, line);
    const std::string expanded = expandWhenParametersOn(line);
    const std::size_t d = text::findNoCase(expanded, settings.separator);
    const std::string program = d == text::npos ? expanded : expanded.substr(0, d);
    if (program.empty()) {
        if (d != text::npos) c.add(l.number, LintRule::noProgramBeforeSeparator);
        return;
    }
    if (d != text::npos) lintCut(c, l.number, "caption", std::string_view(expanded).substr(d + settings.separator.size()));
    bool taken = text::startsWithNoCase(program, "@system");
    if (!taken) {
        const LintContext::Lookup found = c.lookUpProgram(program);
        if (!found.found) {
            c.add(l.number, LintRule::programNotFound, {program});
            lintProgramElsewhere(c, l.number, program);
            lintSeparatorLookalike(c, l.number, program);
        } else if (found.folder) {
            c.add(l.number, LintRule::programIsFolder, {program});
        }
        taken = found.found && !found.folder;
    }
    if (!taken) {
        if (w.hasProgram) w.droppedLine = l.number;
        else {
            w.missingLine = l.number;
            w.missingTold = false;
        }
        return;
    }
    w.hasProgram = true;
    w.programLine = l.number;
    w.missingLine = 0;
    w.droppedLine = 0;
    w.afterProgram = true;
    ++w.rows;
}

// Reads one block from the line after its header to its "%end", to the
// next header line (which Tavrin would read on as part of it) or to the
// end of the text.
void lintBlock(LintContext& c, const HeaderLine& header) {
    BlockWalk w;
    const bool allBlock = text::equalsNoCase(header.key, "[all]");
    // "[all]" follows another block's rows, so its marks may stand first.
    w.afterProgram = allBlock;
    LineCursor cursor(c.text, header.lineStart, header.line);
    SettingsLine l;
    cursor.next(l);  // the header line
    bool ended = false;
    bool rowsFull = false;
    while (cursor.next(l)) {
        if (const HeaderLine* next = c.headerStartingAt(l.offset)) {
            c.add(header.line, LintRule::missingEnd, {header.key, next->key, std::to_string(next->line)});
            ended = true;
            break;
        }
        const std::string_view line = l.body();
        if (text::startsWithNoCase(line, "%end")) {
            ended = true;
            break;
        }
        if (line.empty() || line[0] == ';' || rowsFull) continue;
        if (w.rows >= maxAssociationItems) {
            // Tavrin reads nothing more of the block; only its end is sought.
            c.add(l.number, LintRule::tooManyRows);
            rowsFull = true;
            continue;
        }
        const char ch = line[0];
        if ((ch == '+' || ch == '-') && w.afterProgram) {
            ++w.rows;
        } else if (ch == '+' || ch == '-') {
            c.add(l.number, LintRule::markReadAsProgram, {std::string(1, ch)});
        } else if (isSubMarker(ch) && w.hasProgram) {
            lintSubCommand(c, l, line, w);
            ++w.rows;
        } else if (isSubMarker(ch) && w.missingLine != 0) {
            if (!w.missingTold)
                c.add(l.number, LintRule::subCommandsOfMissingProgram, {std::to_string(w.missingLine)});
            w.missingTold = true;
        } else if (isSubMarker(ch)) {
            c.add(l.number, LintRule::subCommandWithoutProgram);
        } else if (ch == '{' && line.size() >= 2) {
            lintCut(c, l.number, "caption", line.substr(1));
            w.openGroups.push_back(l.number);
            w.hasProgram = false;
            w.droppedLine = 0;
            w.missingLine = 0;
            w.afterProgram = false;
            ++w.rows;
        } else if (ch == '{') {
            c.add(l.number, LintRule::groupWithoutCaption);
        } else if (ch == '}' && !w.openGroups.empty()) {
            w.openGroups.pop_back();
            w.hasProgram = false;
            w.droppedLine = 0;
            w.missingLine = 0;
            ++w.rows;
        } else if (ch == '}') {
            c.add(l.number, LintRule::closeWithoutOpen);
        } else {
            lintProgramLine(c, l, line, w);
        }
    }
    if (!ended) c.add(header.line, LintRule::missingEndAtFileEnd, {header.key});
    for (int open : w.openGroups) c.add(open, LintRule::groupNotClosed, {std::to_string(open)});
}

}  // namespace

void lintAssociationBlocks(LintContext& c) {
    for (const HeaderLine& header : c.headers)
        if (header.association) lintBlock(c, header);
}
