// Association blocks becoming table rows: kinds, counters, sub-command
// splits, groups, marks and the row limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class AssociationTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        settings.tempFolder = dir.file("temp");
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
        folder = dir.mkdir("tools.exe");
        resetAssociationTable();
    }
    // Parses the block headed by `header` in `text`.
    void parse(const std::string& text, const std::string& header) {
        std::size_t at = text::findNoCase(text, header);
        ASSERT_NE(at, text::npos);
        parseAssociationSection(at, text);
    }
    std::vector<int> kinds() const {
        std::vector<int> out;
        for (int i = 0; i < associationTable.itemCount; ++i) out.push_back(associationTable.items[i].kind);
        return out;
    }
    const AssociationItem& row(int i) const { return associationTable.items[i]; }

    FakePlatform fake;
    TempDir dir;
    std::string viewer, editor, folder;
};

TEST_F(AssociationTableTest, ProgramsOwnTheirSubCommands) {
    const std::string text = "[.html]\n" + viewer + " | View\n>-a %L | Plain\n]-b %L\n" + editor +
                             "\n*C:\\dl>\"%P\" | Save\n%end\n";
    parse(text, "[.html]");
    EXPECT_EQ(kinds(), (std::vector<int>{itemProgram, itemSubCommand, itemSubCommand, itemProgram,
                                         itemSubCommand}));
    EXPECT_EQ(associationTable.programCount, 2);
    EXPECT_EQ(associationTable.firstProgram, 0);
    EXPECT_EQ(row(0).caption, "View");
    EXPECT_EQ(row(0).subCount, 2);
    EXPECT_EQ(row(0).firstSub, 1);
    EXPECT_EQ(row(1).command, "-a %L");
    EXPECT_EQ(row(1).caption, "Plain");
    EXPECT_EQ(row(1).subKind, subRun);
    EXPECT_EQ(row(2).command, "-b %L");  // no separator: template and caption alike
    EXPECT_EQ(row(2).caption, "-b %L");
    EXPECT_EQ(row(2).subKind, subRunEach);
    EXPECT_EQ(row(2).owner, 0);
    EXPECT_EQ(row(3).caption, "editor");  // file name without extension
    EXPECT_EQ(row(3).firstSub, 4);
    EXPECT_EQ(row(4).subKind, subDownload);
    EXPECT_EQ(row(4).owner, 3);
}

TEST_F(AssociationTableTest, DownloadLinesSplitIntoFolderTemplateAndCaption) {
    struct Case { std::string line, command, caption, folder; int subKind; };
    const std::vector<Case> cases = {
        {"*%Desktop%>-o \"%P\" | Get", "-o \"%P\"", "Get", "%Desktop%", subDownload},
        {"#%Desktop% | Get", "\"%P\"", "Get", "%Desktop%", subLoaderDownload},
        {"*D:\\x>-o %P", "-o %P", "D:\\x>-o %P", "D:\\x", subDownload},
        {"*", "\"%P\"", "from temp", "", subDownload},  // folder: the temporary folder
        {"*C:\\a | Get >here", "\"%P\"", "Get >here", "C:\\a", subDownload},
    };
    for (const auto& c : cases) {
        resetAssociationTable();
        parse("[.zip]\n" + viewer + "\n" + c.line + "\n", "[.zip]");
        ASSERT_EQ(associationTable.itemCount, 2) << c.line;
        EXPECT_EQ(row(1).command, c.command) << c.line;
        EXPECT_EQ(row(1).caption, c.caption) << c.line;
        EXPECT_EQ(row(1).folder, c.folder.empty() ? settings.tempFolder : c.folder) << c.line;
        EXPECT_EQ(row(1).subKind, c.subKind) << c.line;
    }
}

TEST_F(AssociationTableTest, LinesThatCannotBeProgramsAreDropped) {
    const std::string text = "[.txt]\n"
                             ">orphan sub-command\n"       // before any program
                             "}\n"                          // no open group
                             "+\n"                          // empty table: read as a program
                             + folder + "\n"                // a folder, though found
                             + dir.file("missing.exe") + "\n"
                             "; " + viewer + "\n"           // comment
                             "\n"
                             + viewer + "\n";
    parse(text, "[.txt]");
    EXPECT_EQ(kinds(), (std::vector<int>{itemProgram}));
    EXPECT_EQ(associationTable.firstProgram, 0);
}

TEST_F(AssociationTableTest, MarksAndGroupsFollowTheirPlace) {
    const std::string text = "[.a]\n" + viewer + "\n+\n{Tools\n+\n" + editor + "\n-\n}\n-\n%end\n"
                             "[all]\n+\n" + viewer + "\n";
    parse(text, "[.a]");
    // "+" right after "{" is a program line and is dropped.
    EXPECT_EQ(kinds(), (std::vector<int>{itemProgram, itemPlusMark, itemGroupOpen, itemProgram,
                                         itemMinusMark, itemGroupClose, itemMinusMark}));
    EXPECT_EQ(row(2).caption, "Tools");
    EXPECT_EQ(row(2).level, 0);
    EXPECT_EQ(row(3).level, 1);
    EXPECT_EQ(row(5).level, 1);  // a closing row carries the depth inside it
    EXPECT_EQ(row(6).level, 0);
    // "[all]" appended to a non-empty table takes its leading "+" as a mark.
    parse(text, "[all]");
    EXPECT_EQ(row(7).kind, itemPlusMark);
    EXPECT_EQ(row(8).kind, itemProgram);
    EXPECT_EQ(associationTable.programCount, 3);
}

TEST_F(AssociationTableTest, SubCommandsAfterAGroupBecomeProgramLines) {
    parse("[.b]\n" + viewer + "\n{G\n}\n>x\n", "[.b]");
    EXPECT_EQ(row(0).subCount, 0);
    EXPECT_EQ(associationTable.itemCount, 3);
}

TEST_F(AssociationTableTest, ABlockWithoutEndRunsIntoTheNextOne) {
    parse("[.c]\n" + viewer + "\n[.d]\n" + editor + "\n", "[.c]");
    EXPECT_EQ(associationTable.programCount, 2);
    EXPECT_EQ(associationTable.itemCount, 2);
}

TEST_F(AssociationTableTest, StopsAtTwoHundredRows) {
    std::string text = "[.e]\n";
    for (int i = 0; i < 150; ++i) text += viewer + "\n-\n";
    parse(text, "[.e]");
    EXPECT_EQ(associationTable.itemCount, maxAssociationItems);
    EXPECT_EQ(associationTable.programCount, 100);
}

// Lines naming programs that do not exist are dropped one by one, each
// after a search of the whole search path; after 200 of them the block is
// read no further (random bytes that happen to hold "[.*]" made every
// dispatch take minutes).
TEST_F(AssociationTableTest, StopsAfterTwoHundredMissingPrograms) {
    struct Case { int missing; int programs; };
    for (const Case& c : {Case{0, 2}, Case{199, 2}, Case{200, 0}, Case{5000, 0}}) {
        resetAssociationTable();
        std::string text = "[.g]\n";
        for (int i = 0; i < c.missing; ++i) text += "missing" + std::to_string(i) + "\n";
        text += viewer + "\n" + editor + "\n%end\n";
        parse(text, "[.g]");
        EXPECT_EQ(associationTable.programCount, c.programs) << c.missing;
    }
    // Programs found before them stay; sub-commands, marks and comments
    // count not.
    resetAssociationTable();
    std::string text = "[.h]\n" + viewer + "\n";
    for (int i = 0; i < 50; ++i) text += ">-x %L\n+\n; note\n";
    for (int i = 0; i < 199; ++i) text += "gone" + std::to_string(i) + "\n";
    parse(text + editor + "\n" + "gone\n" + viewer + "\n", "[.h]");
    EXPECT_EQ(associationTable.programCount, 2);
}

TEST_F(AssociationTableTest, SystemRowsAreKeptWithoutAnAssociation) {
    parse("[.f]\n@system\n@SYSTEM | Open\n", "[.f]");
    ASSERT_EQ(associationTable.itemCount, 2);
    EXPECT_EQ(row(0).command, "@system");
    EXPECT_EQ(row(0).caption, "@system");
    EXPECT_EQ(row(1).caption, "Open");
    EXPECT_EQ(associationTable.programCount, 2);
}

// The end of the file ends the last line (Notepad saves without a final
// line break); such a line used to be dropped.
TEST_F(AssociationTableTest, LastLineWithoutLineBreakIsRead) {
    struct Case { std::string text; std::vector<int> kinds; };
    const Case cases[] = {
        {"[.g]\n" + viewer + "\n" + editor, {itemProgram, itemProgram}},
        {"[.g]\r\n" + viewer + "\r\n>-x %L", {itemProgram, itemSubCommand}},
        {"[.g]\n" + viewer + "\n%end", {itemProgram}},
        {"[.g]", {}},
    };
    for (const auto& c : cases) {
        resetAssociationTable();
        parse(c.text, "[.g]");
        EXPECT_EQ(kinds(), c.kinds) << c.text;
    }
}

TEST_F(AssociationTableTest, LongCaptionsAreCutToTheirSlot) {
    parse("[.h]\n" + viewer + " | " + std::string(400, 'c') + "\n", "[.h]");
    EXPECT_EQ(row(0).caption.size(), 259u);
}

}  // namespace
