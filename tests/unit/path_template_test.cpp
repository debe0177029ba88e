// File-path placeholders: values of each part, their order and case, paths
// without drive, folder or extension, existing folders, the folder-only
// mode and the 1,039-character cut.
#include <gtest/gtest.h>

#include "common/app_state.h"
#include "settings/settings.h"
#include "template/path_template.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class PathTemplate : public ::testing::Test {
protected:
    Settings savedSettings = settings;
    UserParameters savedParameters = userParameters;
    void SetUp() override {
        settings = Settings{};
        userParameters = UserParameters{};
    }
    void TearDown() override {
        settings = savedSettings;
        userParameters = savedParameters;
    }
    std::string expand(const std::string& target, const std::string& templ, int foldersOnly = 0) {
        runState.currentTarget = target;
        return expandPathTemplate(templ, foldersOnly);
    }
    FakePlatform fake;
};

struct Case {
    std::string target, templ, want;
};

TEST_F(PathTemplate, EachPartOfAFile) {
    const std::string file = "C:\\Data\\Files\\report.txt";
    const Case cases[] = {
        {file, "%P", file},
        {file, "%D", "C:\\Data\\Files\\"},
        {file, "%-D", "C:\\Data\\Files"},
        {file, "%F", "Files"},
        {file, "%N", "report.txt"},
        {file, "%E", ".txt"},
        {file, "%A", "report"},
        {file, "%B", "C:\\Data\\Files\\report"},
        // Any case; "%-D" is never taken for "%D"; other sequences stay.
        {file, "%p|%d|%-d|%n", file + "|C:\\Data\\Files\\|C:\\Data\\Files|report.txt"},
        {file, "\"%D%A.bak\" %X %5 100%", "\"C:\\Data\\Files\\report.bak\" %X %5 100%"},
    };
    for (const Case& c : cases) EXPECT_EQ(expand(c.target, c.templ), c.want) << c.templ;
}

TEST_F(PathTemplate, PathsMissingSomeParts) {
    const std::string all = "%P|%D|%-D|%F|%N|%E|%A|%B";
    const Case cases[] = {
        {"C:\\report.txt", all, "C:\\report.txt|C:\\|C:||report.txt|.txt|report|C:\\report"},
        {"C:\\Data\\README", all, "C:\\Data\\README|C:\\Data\\|C:\\Data|Data|README||README|C:\\Data\\README"},
        {"C:\\Data\\a.tar.gz", "%E|%A|%N", ".gz|a.tar|a.tar.gz"},
        {"C:\\x\\a.b\\f.txt", "%F|%-D", "a|C:\\x\\a.b"},
        {"report.txt", all, "report.txt||||report.txt|.txt|report|report"},
        {"", all, "|||||||"},
        // "表" ends in the byte of a backslash: it stays in the folder name.
        {"C:\\\x95\x5c\\f.txt", "%F|%D", "\x95\x5c|C:\\\x95\x5c\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(expand(c.target, c.templ), c.want) << c.target;
}

TEST_F(PathTemplate, ValuesAreNeverReadAgain) {
    // A saved name keeps what looks like a placeholder: a percent escape
    // of a Japanese name ("%E8%B3%87%E6%96%99" is 資料), "100%Done", "%A".
    const std::string escaped = "C:\\Tavrin\\temp\\%E8%B3%87%E6%96%99.pdf";
    const Case cases[] = {
        {escaped, "\"%P\"", "\"" + escaped + "\""},
        {escaped, "%N|%A|%E|%D", "%E8%B3%87%E6%96%99.pdf|%E8%B3%87%E6%96%99|.pdf|C:\\Tavrin\\temp\\"},
        {escaped, "%B%E", "C:\\Tavrin\\temp\\%E8%B3%87%E6%96%99.pdf"},
        {"C:\\100%Done\\x.txt", "%P %F", "C:\\100%Done\\x.txt 100%Done"},
        {"C:\\100%N\\x.txt", "%P", "C:\\100%N\\x.txt"},
        {"C:\\d\\%A.txt", "%B", "C:\\d\\%A"},
        {"C:\\d\\%P%D.txt", "%N%N", "%P%D.txt%P%D.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(expand(c.target, c.templ), c.want) << c.target;
    // With "@param" too: a folder or parameter value is inserted as it is.
    settings.parametersOn = 1;
    userParameters.rows[0] = {"%dl%", "D:\\100%Done"};
    userParameters.count = 1;
    EXPECT_EQ(expand(escaped, "%dl%\\%N", 1), "D:\\100%Done\\%N");
    EXPECT_EQ(expand(escaped, "%dl%\\%N"), "D:\\100%Done\\%E8%B3%87%E6%96%99.pdf");
}

TEST_F(PathTemplate, AnExistingFolder) {
    TempDir dir;
    const std::string folder = dir.mkdir("Saved Pages");
    EXPECT_EQ(expand(folder, "%P"), folder + "\\");
    EXPECT_EQ(expand(folder, "%N"), "Saved Pages");
    EXPECT_EQ(expand(folder, "%D"), dir.path());
    // With its separator already there, nothing is added.
    EXPECT_EQ(expand(folder + "\\", "%P"), folder + "\\");
}

TEST_F(PathTemplate, FolderOnlyModeLeavesPathPlaceholders) {
    settings.parametersOn = 1;
    userParameters.rows[0] = {"%dl%", "D:\\Downloads"};
    userParameters.count = 1;
    EXPECT_EQ(expand("C:\\x\\f.txt", "%dl%\\%P", 1), "D:\\Downloads\\%P");
    EXPECT_EQ(expand("C:\\x\\f.txt", "%dl%\\%N", 0), "D:\\Downloads\\f.txt");
    // Without "@param" a name stays as written, and its "%d" is the
    // folder placeholder like any other.
    settings.parametersOn = 0;
    EXPECT_EQ(expand("C:\\x\\f.txt", "%dl%\\%N", 1), "%dl%\\%N");
    EXPECT_EQ(expand("C:\\x\\f.txt", "%dl%\\%N", 0), "C:\\x\\l%\\f.txt");
}

TEST_F(PathTemplate, LongResultsAreCutAt1039Characters) {
    const std::string target = "C:\\" + std::string(250, 'd') + "\\f.txt";
    const std::string result = expand(target, "%P %P %P %P %P");
    EXPECT_EQ(result.size(), 1039u);
    EXPECT_EQ(result.substr(0, target.size() + 1), target + " ");
    // A double-byte character is never cut in two: here the 1,039th
    // character would be the first byte of "表".
    const std::string kanji = "C:\\" + std::string(254, 'd') + "\\\x95\x5c.txt";
    const std::string cut = expand(kanji, std::string(252, 'x') + "%P%P%P");
    EXPECT_EQ(cut.size(), 1038u);
    EXPECT_EQ(cut.back(), '\\');
}

}  // namespace
