// The association menu's items from association blocks: programs, single
// sub-commands, submenus, groups, separators, column breaks, icons, the
// title item, the tools menu, and blocks that are too long or malformed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "menu/menu_layout.h"
#include "menu/tools_menu.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// One line per item: "<id> <label>" with marks for the kind: "---" a
// separator, "|" before a column break, "[group]" an empty group, "{...}"
// a submenu's items, "@<source>" an icon.
void describe(const MenuLayout& items, std::vector<std::string>& out, const std::string& indent) {
    for (const MenuItemDef& item : items) {
        std::string line = indent + std::to_string(item.id) + " ";
        if (item.flags & menuItemSeparator) {
            out.push_back(line + "---");
            continue;
        }
        if (item.flags & menuItemColumnBreak) line += "|";
        line += item.label;
        if (item.iconSource != iconNone) line += " @" + std::to_string(item.iconSource);
        if (item.flags & menuItemGroup) line += " [group]";
        out.push_back(line);
        if (item.flags & menuItemSubmenu) describe(item.children, out, indent + "  ");
    }
}

std::vector<std::string> describe(const MenuLayout& items) {
    std::vector<std::string> out;
    describe(items, out, "");
    return out;
}

class MenuLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        settings.tempFolder = dir.file("temp");
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
    }
    // The rows of `block` (written under "[.html]", "<v>" and "<e>" stand
    // for the two programs).
    void parse(std::string block) {
        for (auto [mark, path] : {std::pair{"<v>", viewer}, std::pair{"<e>", editor}}) {
            for (std::size_t at; (at = block.find(mark)) != std::string::npos;)
                block.replace(at, 3, path);
        }
        text = "[.html]\n" + block + "%end\n";
        resetAssociationTable();
        parseAssociationSection(0, text);
    }
    std::vector<std::string> layout(int start = 0, int offset = 0, MenuLayoutOptions options = {}) {
        return describe(buildAssociationLayout(associationTable, start, offset, options));
    }

    FakePlatform fake;
    TempDir dir;
    std::string viewer, editor, text;
};

using Lines = std::vector<std::string>;

TEST_F(MenuLayoutTest, ItemsFromRows) {
    struct Case {
        const char* name;
        std::string block;
        Lines items;
    };
    const Case cases[] = {
        {"plain programs", "<v> | View\n<e> | Edit\n", {"1000 View", "1001 Edit"}},
        {"one sub-command stands for its program, marked", "<v> | View\n>-a %L | A\n<e> | Edit\n",
         {"1001 View *", "1002 Edit"}},
        {"two sub-commands make a submenu", "<v> | View\n>-a | A\n]-b | B\n<e> | Edit\n",
         {"1000 View", "  1001 A", "  1002 B", "1003 Edit"}},
        {"a plus mark puts a separator before the next item", "<v> | View\n+\n<e> | Edit\n",
         {"1000 View", "1001 ---", "1002 Edit"}},
        {"a minus mark starts a column", "<v> | View\n-\n<e> | Edit\n", {"1000 View", "1002 |Edit"}},
        {"the last of several marks wins", "<v> | View\n+\n-\n<e> | Edit\n", {"1000 View", "1003 |Edit"}},
        {"a mark after the program's item but before its sub-commands",
         "<v> | View\n+\n>-a | A\n>-b | B\n<e> | Edit\n",
         {"1000 View", "  1001 ---", "  1002 A", "  1003 B", "1004 Edit"}},
        {"a mark after the sub-commands separates the next program",
         "<v> | View\n>-a | A\n>-b | B\n+\n<e> | Edit\n",
         {"1000 View", "  1001 A", "  1002 B", "1003 ---", "1004 Edit"}},
        {"a group shows as an empty submenu; its rows stay out",
         "<v> | View\n{Tools\n<e> | Edit\n}\n<e> | Last\n",
         {"1000 View", "1001 Tools [group]", "1004 Last"}},
        {"a plus before a group separates the group item", "<v> | View\n+\n{Tools\n<e> | Edit\n}\n",
         {"1000 View", "1001 ---", "1002 Tools [group]"}},
        {"a mark between a program and its only sub-command shows both",
         "<v> | View\n+\n>-a | A\n", {"1000 View", "1001 ---", "1002 View *"}},
        {"a last mark is not shown", "<v> | View\n<e> | Edit\n+\n", {"1000 View", "1001 Edit"}},
    };
    for (const Case& c : cases) {
        parse(c.block);
        EXPECT_EQ(layout(), c.items) << c.name;
    }
}

TEST_F(MenuLayoutTest, SingleSubCommandIsMarkedForTheChoice) {
    parse("<v> | View\n>-a %L | A\n<e> | Edit\n>-x | X\n>-y | Y\n");
    layout();
    EXPECT_EQ(associationTable.items[1].kind, itemSoleSubCommand);
    EXPECT_EQ(associationTable.items[3].kind, itemSubCommand);
    EXPECT_EQ(associationTable.items[4].kind, itemSubCommand);
    // Without the mark option the caption stands alone.
    parse("<v> | View\n>-a %L | A\n");
    EXPECT_EQ(layout(0, 0, {0, 0}), (Lines{"1001 View"}));
}

TEST_F(MenuLayoutTest, GroupsFillWithTheirOwnLevel) {
    parse("<v> | Outer\n{One\n<v> | In1\n{Two\n<e> | Deep\n}\n+\n<e> | In2\n+\n}\n<e> | After\n");
    // Rows: 0 Outer, 1 {One, 2 In1, 3 {Two, 4 Deep, 5 }, 6 +, 7 In2, 8 +, 9 }, 10 After.
    EXPECT_EQ(layout(), (Lines{"1000 Outer", "1001 One [group]", "1010 After"}));
    EXPECT_EQ(layout(1, 1), (Lines{"1002 In1", "1003 Two [group]", "1006 ---", "1007 In2"}))
        << "a plus directly before the group's end has no effect";
    EXPECT_EQ(layout(3, 1), (Lines{"1004 Deep"}));
}

TEST_F(MenuLayoutTest, MarksNeverCarryOverToALaterBuild) {
    parse("<v> | View\n{Tools\n<e> | Edit\n}\n-\n");
    EXPECT_EQ(layout(), (Lines{"1000 View", "1001 Tools [group]"}));
    EXPECT_EQ(layout(1, 1), (Lines{"1002 Edit"})) << "the group opened after a trailing mark";
    EXPECT_EQ(layout(), (Lines{"1000 View", "1001 Tools [group]"}));
}

TEST_F(MenuLayoutTest, IconsBySource) {
    parse("<v> | View\n@system | Sys\n<e> | Edit\n>-a | A\n@system | One\n>%L\n{Group\n}\n<v> | Two\n>-a | A\n>-b | B\n");
    // Rows: 0 View, 1 Sys, 2 Edit, 3 A, 4 One, 5 %L, 6 {Group, 7 }, 8 Two, 9 A, 10 B.
    EXPECT_EQ(layout(0, 0, {1, 1}),
              (Lines{"1000  View @0", "1001  Sys @-2", "1003  Edit * @2", "1005  One * @-2",
                     "1006  Group @-1 [group]", "1008  Two @8", "  1009 A", "  1010 B"}))
        << "a single sub-command shows its program's icon; sub-commands in a submenu none";
    EXPECT_EQ(layout(0, 0, {0, 1}),
              (Lines{"1000 View", "1001 Sys", "1003 Edit *", "1005 One *", "1006 Group [group]",
                     "1008 Two", "  1009 A", "  1010 B"}))
        << "without icons no text starts with a space";
}

TEST_F(MenuLayoutTest, TitleItemFollowsASeparator) {
    parse("<v> | View\n<e> | Edit\n");
    EXPECT_EQ(describe(associationMenuLayout(associationTable, "T ( &0 )", {})),
              (Lines{"1000 View", "1001 Edit", "1300 ---", "1250 T ( &0 )"}));
    EXPECT_EQ(describe(associationMenuLayout(associationTable, "T ( &0 )", {1, 1})),
              (Lines{"1000  View @0", "1001  Edit @1", "1300 ---", "1250  T ( &0 ) @-2"}));
}

TEST_F(MenuLayoutTest, ToolsMenu) {
    EXPECT_EQ(describe(toolsMenuLayout("C:\\T\\Tavrin.ini", "C:\\T\\Other.ini")),
              (Lines{"1570 &List", "1560 &Clipboard", "1500 ---", "1520 Tavrin.ini ( &1 )",
                     "1530 Other.ini ( &2 )", "1500 ---", "1540 &Help", "1550 &Version"}));
    EXPECT_EQ(describe(toolsMenuLayout("C:\\T\\Tavrin.ini", "C:\\T\\Tavrin.ini"))[4],
              "1530 Tavrin.ini ( &2 )");
}

TEST_F(MenuLayoutTest, MalformedAndOversizedBlocksGiveAFiniteMenu) {
    struct Case {
        const char* name;
        std::string block;
        std::size_t items;
        std::string last;
    };
    std::string rows300;
    for (int i = 0; i < 300; ++i) rows300 += "<v> | P" + std::to_string(i) + "\n";
    const std::string longPath = "C:\\" + std::string(600, 'a') + "\\viewer.exe | Long\n";
    const Case cases[] = {
        {"300 rows are cut at the table's 200", rows300, 200, "1199 P199"},
        {"an unclosed group takes the rest", "<v> | A\n{G\n<e> | B\n<e> | C\n", 2, "1001 G [group]"},
        {"a close without a group is dropped", "<v> | A\n}\n<e> | B\n", 2, "1001 B"},
        {"a mark at the very end", "<v> | A\n-\n", 1, "1000 A"},
        {"a 600-character program path is dropped", longPath + "<v> | A\n", 1, "1000 A"},
    };
    for (const Case& c : cases) {
        parse(c.block);
        const Lines items = layout();
        ASSERT_EQ(items.size(), c.items) << c.name;
        EXPECT_EQ(items.back(), c.last) << c.name;
    }
    // A group opened on the last row, and rows out of range, give nothing.
    parse("<v> | A\n{G\n");
    EXPECT_TRUE(layout(1, 1).empty());
    EXPECT_TRUE(layout(250, 0).empty());
    EXPECT_TRUE(layout(-5, 0).empty());
}

}  // namespace
