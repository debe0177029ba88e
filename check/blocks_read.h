// What a dry run of the dispatch read of the settings file: the key and
// why, each block with its programs and sub-commands, and whether [all] was
// added; for the check tool's words and its tab-separated lines.
#pragma once
#include <string>
#include <vector>

#include "common/url_list.h"

// What the dispatch read, for the words and for the tab-separated lines.
struct BlocksRead {
    enum class KeyBy { extension, blank, host, source } keyBy = KeyBy::extension;
    std::string keyDetail;  // the path, the host, or the source program's name
    // Source blocks in the file that the known source program was not
    // named by (0 when a source block was chosen or no source is known).
    int sourceBlocksPassed = 0;
    struct Block {
        std::string header, line;
        int programs = 0, subs = 0;
        std::string inside;  // the whole line when the header stands inside it
    };
    std::vector<Block> blocks;
    bool keyMissing = false;
    std::string keyNotUsedLine;  // the line of the key's block left for "[.*]"
    enum class All { added, noBlock, exclusive, notRead, none } all = All::none;
    std::string allLine, exclusiveHeader;
};

// Gathered from the association table the dry run left, the settings text
// and the targets.
BlocksRead blocksRead(const std::string& text, const std::vector<UrlEntry>& targets);

// The same as tab-separated lines (@key, @source-blocks-passed, @block,
// @block-inside, @key-missing, @key-not-used, @all), appended to `out`.
void writeBlocksTsv(std::string& out, const BlocksRead& b);
