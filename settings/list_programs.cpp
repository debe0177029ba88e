// The "[list]" block. It has no end marker and no comment syntax: every
// line is examined, and those that do not name an existing program file are
// skipped.
#include "settings/list_programs.h"

#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/find_program.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"
#include "template/folder_date.h"

namespace {

// The row for one line when it names an existing program file.
bool readEntry(std::string_view line, ListProgram& row) {
    std::string_view program = line;
    std::string_view caption;
    const std::size_t split = text::findNoCase(line, settings.separator);
    const bool hasCaption = split != text::npos;
    if (hasCaption) {
        program = line.substr(0, split);
        caption = line.substr(split + settings.separator.size());
    }
    if (program.empty()) return false;
    ProgramLookup found = findProgram(std::string(program), 1);
    if (!found.programFound || platform::os().isDirectory(found.path)) return false;

    row = ListProgram{};
    text::assignCut(row.programFile, found.path, cap::path);
    if (hasCaption) {
        text::assignCut(row.caption, caption, cap::path);
    } else {
        PathParts parts = splitPath(found.path);
        text::assignCut(row.caption, parts.name + parts.extension, cap::path);
    }
    return true;
}

}  // namespace

void readListPrograms(std::string_view text, std::size_t offset) {
    const int capacity = static_cast<int>(listPrograms.rows.size());
    for (;;) {
        std::size_t consumed = 0;
        std::string raw = readSettingsLine(text, offset, consumed);
        if (offset + consumed > text.size()) break;
        offset += consumed;

        const std::string line = expandWhenParametersOn(text::skipLeadingSpaces(raw));
        const int count = listPrograms.listProgramCount;
        if (count > 0 && !line.empty() && line[0] == '>') {
            ListProgram& latest = listPrograms.rows[count - 1];
            text::assignCut(latest.extraParameters, std::string_view(line).substr(1), cap::path);
            latest.hasExtraParameters = 1;
            continue;
        }
        if (count >= capacity) break;
        if (readEntry(line, listPrograms.rows[count])) ++listPrograms.listProgramCount;
    }
}
