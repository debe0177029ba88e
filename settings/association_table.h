// The rows an association block becomes for one dispatch: programs, their
// sub-commands, submenu groups and layout marks, in file order.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

enum ItemKind : int {
    itemProgram = 0,
    itemSubCommand = 1,
    itemPlusMark = 2,
    itemMinusMark = 3,
    itemSoleSubCommand = 5,
    itemGroupOpen = 8,
    itemGroupClose = 9,
};

enum SubCommandKind : int {
    subRun = 0,             // ">"
    subRunEach = 1,         // "]"
    subDownload = 2,        // "*"
    subLoaderDownload = 3,  // "#"
};

struct AssociationItem {
    int kind = itemProgram;
    int level = 0;
    std::string command;  // 260: program path or "@system"; template
    std::string caption;  // 260
    std::string folder;   // 260: download folder template
    int subCount = 0;
    int firstSub = 0;     // 0: none
    int owner = 0;
    int subKind = subRun;
    // Program: 1 when its line began with "!": the program and its
    // sub-commands are given the URLs as they were before link cleaning.
    int givenUrls = 0;
};

// The mark in front of a program line that asks for the URLs as given.
constexpr char givenUrlsMark = '!';

// Whether the row (a program, or a sub-command of one) asks for the URLs
// as given.
bool rowWantsGivenUrls(const AssociationItem& row);

constexpr int maxAssociationItems = 200;
// A block whose lines name this many programs that cannot be found is read
// no further: no person writes such a block (random bytes that happen to
// hold a header do), and every look-up searches the whole search path
// (about 2 ms under Wine, so a large file of such lines held up every
// dispatch for minutes).
constexpr int maxMissingPrograms = 200;

// One block read into the table: where its header occurrence stands in the
// settings text and which rows it gave. Dispatch never consults it; it lets
// a report say which blocks a dispatch read.
struct BlockRead {
    std::size_t headerPosition = 0;
    int firstRow = 0;
    int rowCount = 0;
};
constexpr int maxBlocksRead = 8;

struct AssociationTable {
    std::array<AssociationItem, maxAssociationItems> items;
    int itemCount = 0;
    int programCount = 0;
    int firstProgram = 0;
    std::array<BlockRead, maxBlocksRead> blocks;
    int blockCount = 0;
};

extern AssociationTable associationTable;

// Clears the three counters (and the blocks read) before the first block of
// a dispatch; rows keep their old contents, as fields a kind does not use
// are never read.
void resetAssociationTable();

// Appends the rows of the block whose header occurrence starts at
// headerPosition in `text`.
void parseAssociationSection(std::size_t headerPosition, std::string_view text);
