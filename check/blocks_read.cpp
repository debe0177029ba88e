// Gathering what the dispatch read, and its tab-separated form.
#include "check/blocks_read.h"

#include "check/tool_setup.h"
#include "common/app_state.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "settings/host_blocks.h"
#include "settings/association_table.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"
#include "settings/source_blocks.h"
#include "template/url_parts.h"

namespace {

std::string headerLine(const std::string& text, std::size_t position) {
    std::size_t consumed = 0;
    return readSettingsLine(text, position, consumed);
}

// The whole line that holds `position`, when text other than blanks
// stands before the position in that line.
bool insideLine(const std::string& text, std::size_t position, std::string& line) {
    std::size_t start = 0;
    if (position > 0) {
        const std::size_t lf = text.rfind('\n', position - 1);
        if (lf != std::string::npos) start = lf + 1;
    }
    const std::string_view before = std::string_view(text).substr(start, position - start);
    if (before.find_first_not_of(" \t\r") == std::string_view::npos) return false;
    std::size_t consumed = 0;
    line = readSettingsLine(text, start, consumed);
    return true;
}

}  // namespace

BlocksRead blocksRead(const std::string& text, const std::vector<UrlEntry>& targets) {
    BlocksRead b;
    const std::string& key = dispatchState.sectionKey;
    const std::string url = targets.empty() ? runState.currentTarget : targets[0].url;
    const std::string path = crackUrl(url) ? urlParts.urlPath : url;
    if (text::startsWithNoCase(key, sourceHeaderKey)) {
        b.keyBy = BlocksRead::KeyBy::source;
        b.keyDetail = targetSource().name;
    } else if (text::startsWithNoCase(key, hostHeaderKey)) {
        b.keyBy = BlocksRead::KeyBy::host;
        b.keyDetail = urlParts.hostName;
    } else if (text::equalsNoCase(key, "[blank]")) {
        b.keyBy = BlocksRead::KeyBy::blank;
        b.keyDetail = path.empty() ? "\"\"" : path;
    } else {
        b.keyDetail = path;
    }
    const std::size_t keyAt = findSettingsKey(text, key);
    bool keyRead = false;
    std::size_t exclusiveAt = 0;
    for (int i = 0; i < associationTable.blockCount; ++i) {
        const BlockRead& block = associationTable.blocks[static_cast<std::size_t>(i)];
        BlocksRead::Block one;
        one.header = headerLine(text, block.headerPosition);
        one.line = std::to_string(lineOfOffset(text, block.headerPosition));
        for (int k = block.firstRow; k < block.firstRow + block.rowCount && k < associationTable.itemCount; ++k) {
            const int kind = associationTable.items[static_cast<std::size_t>(k)].kind;
            if (kind == itemProgram) ++one.programs;
            if (kind == itemSubCommand || kind == itemSoleSubCommand) ++one.subs;
        }
        insideLine(text, block.headerPosition, one.inside);
        if (block.headerPosition == keyAt) keyRead = true;
        if (text::startsWithNoCase(one.header, "[all]")) {
            b.all = BlocksRead::All::added;
            b.allLine = one.line;
        } else if (!one.header.empty() && one.header.back() == '#' && b.exclusiveHeader.empty()) {
            b.exclusiveHeader = one.header;
            exclusiveAt = block.headerPosition;
        }
        b.blocks.push_back(one);
    }
    // The target's own block may have been read and left for "[.*]"; its
    // header still decides whether "[all]" is added.
    if (keyAt != text::npos) {
        const std::string own = headerLine(text, keyAt);
        if (!own.empty() && own.back() == '#') {
            b.exclusiveHeader = own;
            exclusiveAt = keyAt;
        }
    }
    b.keyMissing = keyAt == text::npos && b.keyBy != BlocksRead::KeyBy::host &&
                   b.keyBy != BlocksRead::KeyBy::source;
    if (b.keyBy != BlocksRead::KeyBy::source && targetSource().known())
        for (const PatternHeader& h : sourceHeaders(text)) b.sourceBlocksPassed += h.closed ? 1 : 0;
    if (keyAt != text::npos && !keyRead) b.keyNotUsedLine = std::to_string(lineOfOffset(text, keyAt));
    if (b.all != BlocksRead::All::added && associationTable.blockCount > 0) {
        if (findSettingsKey(text, "[all]") == text::npos) {
            b.all = BlocksRead::All::noBlock;
        } else if (!b.exclusiveHeader.empty()) {
            b.all = BlocksRead::All::exclusive;
            b.allLine = std::to_string(lineOfOffset(text, exclusiveAt));
        } else {
            b.all = BlocksRead::All::notRead;
        }
    }
    return b;
}

void writeBlocksTsv(std::string& out, const BlocksRead& b) {
    const std::string& key = dispatchState.sectionKey;
    const char* const by[] = {"extension", "blank", "host", "source"};
    out += "@key\t" + key + "\t" + by[static_cast<int>(b.keyBy)] + "\t" + b.keyDetail + "\n";
    if (b.sourceBlocksPassed > 0) out += "@source-blocks-passed\t" + std::to_string(b.sourceBlocksPassed) + "\n";
    for (const BlocksRead::Block& one : b.blocks) {
        out += "@block\t" + one.line + "\t" + one.header + "\t" + std::to_string(one.programs) + "\t" +
               std::to_string(one.subs) + "\n";
        if (!one.inside.empty()) out += "@block-inside\t" + one.line + "\t" + one.inside + "\n";
    }
    if (b.keyMissing) out += "@key-missing\t" + key + "\n";
    else if (!b.keyNotUsedLine.empty()) out += "@key-not-used\t" + key + "\t" + b.keyNotUsedLine + "\n";
    switch (b.all) {
        case BlocksRead::All::added: out += "@all\tadded\t" + b.allLine + "\n"; break;
        case BlocksRead::All::noBlock: out += "@all\tnot-added\tno-block\n"; break;
        case BlocksRead::All::exclusive:
            out += "@all\tnot-added\texclusive\t" + b.exclusiveHeader + "\t" + b.allLine + "\n";
            break;
        case BlocksRead::All::notRead: out += "@all\tnot-added\n"; break;
        case BlocksRead::All::none: break;
    }
}
