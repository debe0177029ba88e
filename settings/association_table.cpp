// Turns one association block of the settings text into table rows.
#include "settings/association_table.h"

#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/find_program.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/system_program.h"
#include "template/folder_date.h"

AssociationTable associationTable;

bool rowWantsGivenUrls(const AssociationItem& row) {
    if (row.kind == itemProgram) return row.givenUrls == 1;
    if (row.kind != itemSubCommand && row.kind != itemSoleSubCommand) return false;
    if (row.owner < 0 || row.owner >= associationTable.itemCount) return false;
    return associationTable.items[static_cast<std::size_t>(row.owner)].givenUrls == 1;
}

void resetAssociationTable() {
    associationTable.itemCount = 0;
    associationTable.programCount = 0;
    associationTable.firstProgram = 0;
    associationTable.blockCount = 0;
}

namespace {

const char* const defaultDownloadTemplate = "\"%P\"";

struct BlockState {
    int currentProgram = -1;
    int openGroups = 0;
    int depth = 0;
    int afterProgram = 0;
    int missingPrograms = 0;  // lines naming a program that cannot be found
};

void setText(std::string& slot, std::string_view value) { text::assignCut(slot, value, cap::path); }

AssociationItem& nextRow() { return associationTable.items[associationTable.itemCount]; }

// Splits a sub-command line by its marker into template, caption, folder.
void fillSubCommand(AssociationItem& row, std::string_view line) {
    const char marker = line[0];
    const std::string_view rest = line.substr(1);
    const std::size_t d = text::findNoCase(line, settings.separator);
    const bool hasSep = d != text::npos && d >= 1;
    std::string_view afterSep = hasSep ? line.substr(d + settings.separator.size()) : std::string_view();
    if (marker == '>' || marker == ']') {
        setText(row.command, hasSep ? line.substr(1, d - 1) : rest);
        setText(row.caption, hasSep ? afterSep : rest);
        row.subKind = marker == '>' ? subRun : subRunEach;
        return;
    }
    // Download lines: folder template, then '>' and the parameter template.
    // A '>' that only appears in the caption, behind the separator, does
    // not split the line.
    std::size_t gt = text::findByte(line, '>', 1);
    if (hasSep && gt != text::npos && gt > d) gt = text::npos;
    const bool hasGt = gt != text::npos;
    if (hasSep && hasGt) {
        setText(row.command, line.substr(gt + 1, d - gt - 1));
        setText(row.caption, afterSep);
        setText(row.folder, line.substr(1, gt - 1));
    } else if (hasSep) {
        setText(row.command, defaultDownloadTemplate);
        setText(row.caption, afterSep);
        setText(row.folder, line.substr(1, d - 1));
    } else if (hasGt) {
        setText(row.command, line.substr(gt + 1));
        setText(row.caption, rest);
        setText(row.folder, line.substr(1, gt - 1));
    } else {
        setText(row.command, defaultDownloadTemplate);
        setText(row.caption, "from temp");
        setText(row.folder, settings.tempFolder);
    }
    row.subKind = marker == '*' ? subDownload : subLoaderDownload;
}

void addSubCommand(BlockState& st, std::string_view line) {
    AssociationItem& row = nextRow();
    fillSubCommand(row, line);
    AssociationItem& owner = associationTable.items[st.currentProgram];
    if (owner.firstSub == 0) owner.firstSub = associationTable.itemCount;
    row.kind = itemSubCommand;
    row.level = st.depth;
    owner.subCount += 1;
    row.owner = st.currentProgram;
}

// Returns true when the line became a Program row. A program that cannot
// be found is counted in st.missingPrograms.
bool addProgram(BlockState& st, std::string_view rawLine) {
    const bool givenUrls = !rawLine.empty() && rawLine[0] == givenUrlsMark;
    if (givenUrls) rawLine = text::skipLeadingSpaces(rawLine.substr(1));
    std::string line = expandWhenParametersOn(rawLine);
    const std::size_t d = text::findNoCase(line, settings.separator);
    const bool hasSep = d != text::npos;
    std::string program = hasSep ? line.substr(0, d) : line;
    std::string afterSep = hasSep ? line.substr(d + settings.separator.size()) : std::string();
    if (program.empty()) return false;
    const int index = associationTable.itemCount;
    AssociationItem& row = nextRow();
    if (text::startsWithNoCase(program, "@system")) {
        resolveSystemProgram(index);
        if (hasSep) setText(row.caption, afterSep);
    } else {
        ProgramLookup found = findProgram(program, 1);
        if (!found.programFound || platform::os().isDirectory(found.path)) {
            st.missingPrograms += 1;
            return false;
        }
        setText(row.command, canonicalizePath(found.path));
        setText(row.caption, hasSep ? afterSep : splitPath(found.path).name);
    }
    row.kind = itemProgram;
    row.level = st.depth;
    row.subCount = 0;
    row.firstSub = 0;
    row.givenUrls = givenUrls ? 1 : 0;
    if (associationTable.programCount == 0) associationTable.firstProgram = index;
    associationTable.programCount += 1;
    st.currentProgram = index;
    st.afterProgram = 1;
    return true;
}

bool isSubMarker(char c) { return c == '>' || c == ']' || c == '*' || c == '#'; }

}  // namespace

namespace {

// Notes the block in the table's list of blocks read, and on leaving the
// parse how many rows it gave.
class BlockNote {
public:
    explicit BlockNote(std::size_t headerPosition) {
        if (associationTable.blockCount >= maxBlocksRead) return;
        block_ = &associationTable.blocks[associationTable.blockCount++];
        *block_ = BlockRead{headerPosition, associationTable.itemCount, 0};
    }
    ~BlockNote() {
        if (block_) block_->rowCount = associationTable.itemCount - block_->firstRow;
    }
    BlockNote(const BlockNote&) = delete;
    BlockNote& operator=(const BlockNote&) = delete;

private:
    BlockRead* block_ = nullptr;
};

}  // namespace

void parseAssociationSection(std::size_t headerPosition, std::string_view text) {
    BlockNote note(headerPosition);
    BlockState st;
    st.afterProgram = associationTable.itemCount > 0 ? 1 : 0;
    std::size_t consumed = 0;
    readSettingsLine(text, headerPosition, consumed);
    std::size_t offset = headerPosition + consumed;
    while (offset < text.size()) {
        if (associationTable.itemCount >= maxAssociationItems) return;
        if (st.missingPrograms >= maxMissingPrograms) return;
        std::string raw = readSettingsLine(text, offset, consumed);
        if (offset + consumed > text.size()) return;
        offset += consumed;
        std::string_view line = text::skipLeadingSpaces(raw);
        if (text::startsWithNoCase(line, "%end")) return;
        if (!line.empty() && line[0] == ';') continue;

        bool added = false;
        const char c = line.empty() ? '\0' : line[0];
        if ((c == '+' || c == '-') && st.afterProgram == 1) {
            AssociationItem& row = nextRow();
            row.kind = c == '+' ? itemPlusMark : itemMinusMark;
            row.level = st.depth;
            added = true;
        } else if (isSubMarker(c) && st.currentProgram != -1) {
            addSubCommand(st, line);
            added = true;
        } else if (c == '{' && line.size() >= 2) {
            AssociationItem& row = nextRow();
            row.kind = itemGroupOpen;
            setText(row.caption, line.substr(1));
            row.level = st.depth;
            st.currentProgram = -1;
            st.openGroups += 1;
            st.depth += 1;
            st.afterProgram = 0;
            added = true;
        } else if (c == '}' && st.openGroups > 0) {
            AssociationItem& row = nextRow();
            row.kind = itemGroupClose;
            row.level = st.depth;
            st.openGroups -= 1;
            st.depth -= 1;
            st.currentProgram = -1;
            added = true;
        } else {
            added = addProgram(st, line);
        }
        if (added) associationTable.itemCount += 1;
    }
}
