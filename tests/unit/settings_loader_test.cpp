// Reading the settings file: which file, the system options, the parameters
// block, the search list, the program list, and hostile file contents.
#include <gtest/gtest.h>

#include <functional>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "common/app_state.h"
#include "settings/find_program.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

std::string currentFolder() {
    char buffer[1024] = {};
#ifdef _WIN32
    return _getcwd(buffer, sizeof buffer) ? buffer : "";
#else
    return getcwd(buffer, sizeof buffer) ? buffer : "";
#endif
}

bool changeFolder(const std::string& folder) {
#ifdef _WIN32
    return _chdir(folder.c_str()) == 0;
#else
    return chdir(folder.c_str()) == 0;
#endif
}

class SettingsLoad : public ::testing::Test {
protected:
    TempDir dir;
    FakePlatform fake;
    ProgramPaths savedPaths = programPaths;
    const std::string sep = dir.path().substr(dir.path().size() - 1);

    void SetUp() override {
        reset();
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Prog.ini";
        programPaths.settingsPath = dir.file("Prog.ini");
    }
    void TearDown() override {
        programPaths = savedPaths;
        reset();
    }
    static void reset() {
        settings = Settings{};
        userParameters = UserParameters{};
        filterGroups = FilterGroups{};
        listPrograms = ListPrograms{};
        runState = RunState{};
    }
    int load(const std::string& body, int systemOnly = 0) {
        reset();
        dir.write("Prog.ini", body);
        return loadSettings(nullptr, systemOnly);
    }
};

TEST_F(SettingsLoad, ChoosesTheFileWithFallbacks) {
    struct Case { bool own, shared, other; int titleLength; };
    const Case cases[] = {
        {true, true, true, 30},     // the path in force exists
        {true, true, false, 10},    // else the own name
        {false, true, false, 20},   // else Tavrin.ini, without creating the own file
        {false, false, false, 0},   // else the own name, created empty
    };
    for (const auto& c : cases) {
        TempDir d;
        programPaths.programFolder = d.path();
        programPaths.settingsPath = d.file("other.ini");
        if (c.own) d.write("Prog.ini", "[system]\n@len=10\n");
        if (c.shared) d.write("Tavrin.ini", "[system]\n@len=20\n");
        if (c.other) d.write("other.ini", "[system]\n@len=30\n");
        reset();
        ASSERT_EQ(loadSettings(nullptr, 1), 1);
        EXPECT_EQ(settings.titleLength, c.titleLength);
        EXPECT_EQ(fake.fileExists(d.file("Prog.ini")), c.titleLength != 20);
    }
}

TEST_F(SettingsLoad, UnreadableFileShowsTheErrorAndFails) {
    dir.mkdir("Prog.ini");
    EXPECT_EQ(loadSettings(nullptr, 0), 0);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "設定ファイル異常");
    EXPECT_EQ(fake.messages[0].caption, "エラー");
    EXPECT_EQ(fake.messages[0].flags, platform::mbOk);
}

TEST_F(SettingsLoad, SystemOptions) {
    dir.write("alt.ini", "");
    struct Case { std::string lines; std::function<void()> check; };
    const Case cases[] = {
        {"@dlm=,\n@dlm2=#\n", [] { EXPECT_EQ(settings.separator, " | ");
                                  EXPECT_EQ(settings.titleSeparator, "||"); }},
        {"@dlm=" + std::string(40, '-') + "\n", [] { EXPECT_EQ(settings.separator, std::string(31, '-')); }},
        {"@len=2\n", [] { EXPECT_EQ(settings.titleLength, 0); }},
        {"@len=255\n", [] { EXPECT_EQ(settings.titleLength, 0); }},
        {"@dist=0,500\n", [] { EXPECT_EQ(settings.firstPause, 0); EXPECT_EQ(settings.laterPause, 500); }},
        {"@dist=10001\n", [] { EXPECT_EQ(settings.firstPause, 0); EXPECT_EQ(settings.laterPause, 0); }},
        {"@dist=300\n", [] { EXPECT_EQ(settings.firstPause, 300); EXPECT_EQ(settings.laterPause, 300); }},
        {"@timeout=-5\n", [] { EXPECT_EQ(settings.timeoutSeconds, 30); }},
        {"@timeout=0,1\n", [] { EXPECT_EQ(settings.timeoutSeconds, 30); EXPECT_EQ(settings.pollForFile, 1); }},
        {"@search=x\n", [] { EXPECT_EQ(settings.pageExtensionCount, 2); }},  // too short
        {"@search=.a;; .b;" + std::string(40, 'c') + "\n", [] {
             ASSERT_EQ(settings.pageExtensionCount, 3);
             EXPECT_EQ(settings.pageExtensions[1], " .b");
             EXPECT_EQ(settings.pageExtensions[2], std::string(31, 'c')); }},
        {"@scheme=https\n", [] { EXPECT_EQ(settings.schemeEnabled, (std::array<int, 4>{1, 0, 0, 0})); }},
        {"@menu=mo\n@menu=center\n", [] { EXPECT_EQ(settings.menuPosition, menuCentred); }},
        {"@icon=0\n@mark=1\n  @ACTIVE=1\n;@temp=del\n", [] { EXPECT_EQ(settings.showIcons, 1);
             EXPECT_EQ(settings.subCommandMark, 1); EXPECT_EQ(settings.activateMenuWindow, 1);
             EXPECT_EQ(settings.keepTemp, 1); }},
        {"%End\n@icon\n", [] { EXPECT_EQ(settings.showIcons, 0); }},
        {"@ext2=alt.ini\n", [] { EXPECT_EQ(settings.alternatePath, programPaths.programFolder + "alt.ini"); }},
        {"@loader=noSuchLoader\n;note\n>-o %1\n", [] {
             EXPECT_EQ(settings.loaderProgram, "noSuchLoader");
             EXPECT_EQ(settings.loaderParameters, "-o %1"); }},
        {"@filter\n>.jpg;;.png\n;note\n>;;\n>abcdefghijklmnop\n\n>.gif\n", [] {
             ASSERT_EQ(filterGroups.groupCount, 3);
             EXPECT_EQ(filterGroups.groups[0].items[0], ".*");
             EXPECT_EQ(filterGroups.groups[1].items[1], ".png");
             EXPECT_EQ(filterGroups.groups[2].items[0], "abcdefghij"); }},
        {"@filter\n>a\n>b\n>c\n>d\n>e\n>f\n>g\n>h\n>i\n>j\n@filter\n>k\n", [] {
             EXPECT_EQ(filterGroups.groupCount, 10);
             EXPECT_EQ(filterGroups.groups[9].items[0], "i"); }},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(load("[system]\n" + c.lines, 1), 1);
        SCOPED_TRACE(c.lines);
        c.check();
    }
}

TEST_F(SettingsLoad, BlockStartsAfterTheFirstHeaderOutsideComments) {
    // A header in a comment line is no header: the block starts after the
    // real one, so the comment's following line is not an option. (A header
    // inside any other line still counts.)
    load("; see [System] below\n@len=9\n[system]\n@icon\n");
    EXPECT_EQ(settings.titleLength, 0);
    EXPECT_EQ(settings.showIcons, 1);
    load("@len=9 [system]\n@icon\n");
    EXPECT_EQ(settings.titleLength, 0);
    EXPECT_EQ(settings.showIcons, 1);
}

// Notepad saves the last line without a line break: the end of the file
// ends that line for every reader of the file (it used to be dropped).
TEST_F(SettingsLoad, LastLineWithoutLineBreakCounts) {
    const std::string program = dir.write("last.exe", "");
    dir.write("paths.txt", "c:\\a;c:\\b");
    struct Case { std::string what, body; std::function<void()> check; };
    const Case cases[] = {
        {"an option", "[system]\r\n@len=20", [] { EXPECT_EQ(settings.titleLength, 20); }},
        {"an option after CR LF lines", "[system]\r\n@icon\r\n@len=20\r", [] {
             EXPECT_EQ(settings.showIcons, 1);
             EXPECT_EQ(settings.titleLength, 20); }},
        {"a parameter pair", "[system]\n@param\nname | value", [] {
             ASSERT_EQ(userParameters.count, 1);
             EXPECT_EQ(userParameters.rows[0].value, "value"); }},
        {"a filter line", "[system]\n@filter\n>.jpg", [] { EXPECT_EQ(filterGroups.groupCount, 2); }},
        {"a program-list line", "[list]\n" + program, [=] {
             ASSERT_EQ(listPrograms.listProgramCount, 1);
             EXPECT_EQ(listPrograms.rows[0].programFile, program); }},
        {"a program list's parameter line", "[list]\n" + program + "\n>-p", [] {
             EXPECT_EQ(listPrograms.rows[0].extraParameters, "-p"); }},
        {"the @path= list file", "[system]\n@path=" + dir.file("paths.txt"), [] {
             EXPECT_EQ(settings.searchPathList, "c:\\a;c:\\b"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(load(c.body), 1);
        c.check();
    }
}

TEST_F(SettingsLoad, KeysOnCommentLinesNeverCount) {
    struct Case { std::string what, body; std::function<void()> check; };
    const Case cases[] = {
        {"a commented @param neither opens the block nor loses the real pairs",
         "[system]\n;@param (old)\nold | gone\n@param\nnew | kept\n@icon\n", [] {
             EXPECT_EQ(settings.parametersOn, 1);
             ASSERT_EQ(userParameters.count, 1);
             EXPECT_EQ(userParameters.rows[0].name, "new");
             EXPECT_EQ(userParameters.rows[0].value, "kept");
             EXPECT_EQ(settings.showIcons, 1); }},
        {"an indented comment is a comment too",
         "[system]\n   ; @param\n@param\nname | value\n", [] {
             ASSERT_EQ(userParameters.count, 1);
             EXPECT_EQ(userParameters.rows[0].name, "name"); }},
        {"only commented @param: parameters stay off",
         "[system]\n;@param\nname | value\n", [] {
             EXPECT_EQ(settings.parametersOn, 0);
             EXPECT_EQ(userParameters.count, 0); }},
        {"[system] only in a comment: no system block",
         "; [system]\n@icon\n", [] { EXPECT_EQ(settings.showIcons, 0); }},
        {"the program list starts at the real [list]",
         "; the [list] below\nPROGRAM\n[list]\n", [] {
             EXPECT_EQ(listPrograms.listProgramCount, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string program = dir.write("listed.exe", "");
        std::string body = c.body;
        const std::size_t mark = body.find("PROGRAM");
        if (mark != std::string::npos) body.replace(mark, 7, program);
        ASSERT_EQ(load(body), 1);
        c.check();
    }
}

TEST_F(SettingsLoad, ParametersBlock) {
    std::string pairs;
    for (int i = 1; i <= 12; ++i) pairs += "name" + std::to_string(i) + ", value" + std::to_string(i) + "\n";
    load("[system]\n@dlm=, \n@param\n  " + std::string(30, 'n') + ", v\n@mark=0, v\n" + pairs + "@icon\n");
    EXPECT_EQ(settings.parametersOn, 1);
    ASSERT_EQ(userParameters.count, 10);
    EXPECT_EQ(userParameters.rows[0].name, "  " + std::string(17, 'n'));  // spaces kept, cut
    EXPECT_EQ(userParameters.rows[9].name, "name8");
    EXPECT_EQ(userParameters.rows[9].value, "value8");
    EXPECT_EQ(settings.subCommandMark, 1);  // pairs are not read again as options
    EXPECT_EQ(settings.showIcons, 1);       // lines after the block are options again
    load("[system]\n      @param\nA | @icon\n");
    EXPECT_EQ(settings.showIcons, 0);       // an indented "@param" resumes behind its block
}

TEST_F(SettingsLoad, ProgramLookUp) {
    const std::string tool = dir.write("tool", "");
    dir.write("tool.exe", "");
    dir.mkdir("elsewhere");
    dir.mkdir("tools");
    const std::string onlyExe = dir.write("elsewhere" + sep + "onlyexe_tavrin_t.exe", "");
    const std::string inTools = dir.write("tools" + sep + "inner_tavrin_t.exe", "");
    struct Case { std::string name; int tryExe; bool found; std::string path; };
    const Case cases[] = {
        {tool, 1, true, tool},  // as written wins over ".exe"
        {dir.file("elsewhere" + sep + "onlyexe_tavrin_t"), 1, true, onlyExe},
        {dir.file("elsewhere" + sep + "onlyexe_tavrin_t"), 0, false,
         dir.file("elsewhere" + sep + "onlyexe_tavrin_t")},
        {"onlyexe_tavrin_t", 1, false, "onlyexe_tavrin_t"},  // its folder is on no path
        // Names without a folder, or with one relative to it, are the
        // program's own folder's.
        {"tool", 0, true, tool},
        {"tools" + sep + "inner_tavrin_t", 1, true, inTools},
    };
    for (const auto& c : cases) {
        ProgramLookup r = findProgram(c.name, c.tryExe);
        EXPECT_EQ(r.programFound, c.found) << c.name;
        EXPECT_EQ(r.path, c.path) << c.name;
    }
    load("[system]\n@path=" + dir.file("elsewhere") + "\n");
    EXPECT_EQ(findProgram("onlyexe_tavrin_t", 1).path, onlyExe);
    // A relative folder of "@path=" lies beside the program, not in the
    // current folder.
    load("[system]\n@path=nowhere;elsewhere\n");
    EXPECT_EQ(findProgram("onlyexe_tavrin_t", 1).path, onlyExe);
}

TEST_F(SettingsLoad, ProgramsAreNeverTakenFromTheCurrentFolder) {
    // The current folder holds a program of the name the settings use; the
    // program's folder and the search list do not.
    TempDir current;
    current.write("planted_tavrin_t.exe", "");
    const std::string before = currentFolder();
    ASSERT_TRUE(changeFolder(current.path()));
    const ProgramLookup r = findProgram("planted_tavrin_t", 1);
    const ProgramLookup withExe = findProgram("planted_tavrin_t.exe", 0);
    changeFolder(before);
    EXPECT_FALSE(r.programFound);
    EXPECT_FALSE(withExe.programFound);
}

TEST_F(SettingsLoad, SearchListFromFile) {
    const std::string a = dir.mkdir("a"), b = dir.mkdir("b");
    const std::string exe = dir.write("b" + sep + "prog_tavrin_s.exe", "");
    struct Case { std::string content; std::string want; };
    const Case cases[] = {
        {"path=" + a + "\t;" + b + "\r\nnot=used\n", a + ";" + b},
        {"x\r\n\tPATH=c:\\z\n", "c:\\z"},
        // A commented "path=" line is not the list; the real one follows.
        {"; path=c:\\old\r\n path=c:\\new\r\n", "c:\\new"},
        {"c:\\a;\r\n\tc:\\b\n", "c:\\a;c:\\b"},
        {"path=" + std::string(6000, 'd'), std::string(5200, 'd')},
        {"x\npath=c:\\last", "c:\\last"},                // the file's end ends the line
    };
    for (const auto& c : cases) {
        dir.write("paths.txt", c.content);
        load("[system]\n@path=" + dir.file("paths.txt") + "\n");
        EXPECT_EQ(settings.searchPathList, c.want);
    }
    dir.write("paths.txt", "path=" + a + ";" + b + "\n");
    load("[system]\n@editor=prog_tavrin_s\n@path=" + dir.file("paths.txt") + "\n@loader=prog_tavrin_s\n");
    EXPECT_EQ(settings.editorProgram, "");  // looked up before the list was set
    EXPECT_EQ(settings.loaderProgram, exe);
}

TEST_F(SettingsLoad, ProgramList) {
    const std::string p1 = dir.write("p1.exe", ""), p2 = dir.write("p2.exe", "");
    dir.mkdir("folder");
    load("[system]\n@dlm=, \n%end\n[list]\n>early\n" + p1 + ", First\n>-x\n  >-y\n" +
         dir.file("folder") + "\n[ext]\n" + dir.file("p2") + "\nnosuch.exe\n");
    ASSERT_EQ(listPrograms.listProgramCount, 2);
    EXPECT_EQ(listPrograms.selectedListProgram, 0);
    EXPECT_EQ(listPrograms.rows[0].programFile, p1);
    EXPECT_EQ(listPrograms.rows[0].caption, "First");
    EXPECT_EQ(listPrograms.rows[0].extraParameters, "-y");
    EXPECT_EQ(listPrograms.rows[0].hasExtraParameters, 1);
    EXPECT_EQ(listPrograms.rows[1].programFile, p2);
    EXPECT_EQ(listPrograms.rows[1].caption, "p2.exe");

    std::string ten;
    for (int i = 0; i < 10; ++i) ten += p1 + "\n";
    load("[list]\n" + ten + ">after tenth\n" + p2 + "\n>ignored\n");
    EXPECT_EQ(listPrograms.listProgramCount, 10);
    EXPECT_EQ(listPrograms.rows[9].extraParameters, "after tenth");

    load("[system]\n@param\nTOOLDIR | " + dir.path() + "\n[list]\ntooldirp2.exe\n");
    ASSERT_EQ(listPrograms.listProgramCount, 1);  // list lines are expanded
    EXPECT_EQ(listPrograms.rows[0].programFile, p2);
    load("");
    EXPECT_EQ(listPrograms.selectedListProgram, 20);
}

TEST_F(SettingsLoad, TemporaryFolderAndSystemOnly) {
    const std::string temp = dir.file("temp");
    load("[system]\n[list]\n" + dir.write("p.exe", "") + "\n", 1);
    EXPECT_FALSE(fake.isDirectory(temp));
    EXPECT_EQ(settings.menuPosition, menuPositionUnset);
    EXPECT_EQ(listPrograms.listProgramCount, 0);

    load("[system]\n", 0);
    EXPECT_TRUE(fake.isDirectory(temp));
    EXPECT_EQ(settings.menuPosition, menuAtActiveWindow);
    EXPECT_TRUE(fake.deleteRequests.empty());

    dir.write("temp" + sep + "old.htm", "x");
    load("[system]\n@temp=del\n", 0);
    EXPECT_EQ(fake.deleteRequests.size(), 1u);
}

TEST_F(SettingsLoad, SurvivesHostileContent) {
    std::string manyLines;
    for (int i = 0; i < 400000; ++i) manyLines += "; comment line\n";
    struct Case { std::string body; int showIcons; };
    const Case cases[] = {
        {"[system]\n" + std::string(1 << 20, 'x') + "\n@icon\n", 1},
        {"[system]\n@icon", 1},                          // no final LF: the line counts
        {"[system]\n@len=5\n\x82", 0},                              // lone lead byte at the end
        {std::string("[system]\n@i\0con\n@icon\n\0[list]\n", 30), 1},  // NULs
        {"[system]\n" + manyLines + "@icon\n", 1},                  // several MB
        {"[system]\n@param\n@dlm=\n" + std::string(300, '@') + "param\n", 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(load(c.body), 1);
        EXPECT_EQ(settings.showIcons, c.showIcons) << c.body.substr(0, 40);
    }
}

// Every "@param" line used to search the whole file for the first one:
// 300,000 such lines (2.4 MB) took more than two minutes under Wine, past
// the test run's bound on a case. The search is made once.
TEST_F(SettingsLoad, ManyParameterLinesLoad) {
    std::string body = "[system]\n";
    for (int i = 0; i < 200000; ++i) body += "@param\n";
    body += "%who% | x\n@icon\n";
    ASSERT_EQ(load(body), 1);
    EXPECT_EQ(settings.parametersOn, 1);
    EXPECT_EQ(settings.showIcons, 1);
}

}  // namespace
