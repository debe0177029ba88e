// Folder, date and user-parameter placeholders, with the clock and the
// shell's special folders steered by the fake platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/app_state.h"
#include "settings/settings.h"
#include "template/folder_date.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

platform::LocalTime day(int year, int month, int dayOfMonth) {
    platform::LocalTime t;
    t.year = year;
    t.month = month;
    t.day = dayOfMonth;
    return t;
}

struct Case { std::string in, out; };

class FolderDate : public ::testing::Test {
protected:
    FakePlatform fake;
    ProgramPaths savedPaths = programPaths;
    Settings savedSettings = settings;
    UserParameters savedParameters = userParameters;

    void SetUp() override {
        fake.clock = day(2008, 9, 5);
        programPaths.programFolder = "C:\\Tools\\";
        settings.tempFolder = "C:\\no such folder\\temp";
        userParameters = UserParameters{};
    }
    void TearDown() override {
        programPaths = savedPaths;
        settings = savedSettings;
        userParameters = savedParameters;
    }
    void define(const std::string& name, const std::string& value) {
        userParameters.rows[static_cast<std::size_t>(userParameters.count++)] = {name, value};
    }
    void expectAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(expandFolderAndDate(c.in), c.out) << c.in;
    }
};

TEST_F(FolderDate, DatesComeFromTheClock) {
    expectAll({{"%4y%-%0m%-%0d%", "2008-09-05"}, {"%2y%.%mm%.%dd%", "08.9.5"}});
    fake.clock = day(2010, 1, 7);
    expectAll({{"[%-m%][%0M%][%mm%][%-D%]", "[ 1][01][1][ 7]"}});
    fake.clock = day(7, 12, 31);
    expectAll({{"%2y%|%-m%/%-d%", "7|12/31"}});
}

// A clock that moves on by a day at every reading.
class TickingClock : public FakePlatform {
public:
    int readings = 0;
    platform::LocalTime localTime() override { return day(2008, 1, ++readings); }
};

TEST(FolderDateClock, OneReadingServesTheWholeText) {
    TickingClock ticking;
    EXPECT_EQ(expandFolderAndDate("%dd% %0d% %-d%"), "1 01  1");
    EXPECT_EQ(ticking.readings, 1);
}

TEST_F(FolderDate, SpecialFoldersAndProgramFolders) {
    fake.specialFolders = {
        {0x24, "C:\\WINDOWS"}, {0x00, "C:\\Virtual"}, {0x19, "C:\\Public\\Desktop"},
        {0x06, "C:\\Fav\\%Favorites%"},  // holds its own placeholder
        {0x05, "C:\\Docs %4y%"},          // holds another one
    };
    expectAll({
        {"%Windows%|%WINDOWS%|%windows%", "C:\\WINDOWS|C:\\WINDOWS|C:\\WINDOWS"},
        {"%Desktop%;%Common Desktop%", "C:\\Virtual;C:\\Public\\Desktop"},
        {"%Favorites%%Favorites%", "C:\\Fav\\%Favorites%C:\\Fav\\%Favorites%"},
        // A value goes in as it is: it is never read for placeholders.
        {"%My Documents%", "C:\\Docs %4y%"},
        // The shell cannot name it: the placeholder stays, the rest goes on.
        {"%Fonts%\\%Windows% %Nothing%", "%Fonts%\\C:\\WINDOWS %Nothing%"},
        {"%ins_Url%\\list.txt", "C:\\Tools\\list.txt"},
        {"%temp_Url%", "C:\\Tools\\temp"},
    });
    programPaths.programFolder = "C:\\\x95\x5c";  // its last byte is a trail byte
    expectAll({{"%ins_Url%", "C:\\\x95\x5c"}});

    TempDir dir;
    settings.tempFolder = dir.mkdir("temp");
    expectAll({{"%TEMP_URL%", settings.tempFolder}});
}

TEST_F(FolderDate, UserParametersInDefinitionOrder) {
    define("%site%", "example.com");
    define("%page%", "http://%site%/%book%");
    define("%book%", "<%site%>");
    define("%self%", "[%SELF%]");
    define("%gone%", "");
    expectAll({
        // Each is replaced where it stands; what its value holds stays.
        {"%page%|%SITE%", "http://%site%/%book%|example.com"},
        {"%book%%page%", "<%site%>http://%site%/%book%"},
        {"%self%%Self%", "[%SELF%][%SELF%]"},
        {"a%gone%%gone%b", "ab"},
    });
    // Names are tried at every character, so one that is no %name% (here
    // "dl") is found inside words, but never in a value.
    define("dl", "D:\\Downloads");
    expectAll({{"x:dl|%site%", "x:D:\\Downloads|example.com"}, {"%page%", "http://%site%/%book%"}});
}

TEST_F(FolderDate, CapacitiesHold) {
    define("%p%", std::string(200, 'a'));
    EXPECT_EQ(expandFolderAndDate("%p%%p%%p%"), std::string(520, 'a'));
    EXPECT_EQ(lastExpansion, std::string(600, 'a'));

    // Each %big% adds 259 characters: the sixth would make 1,554, so the
    // working text ends at 1,299 inside it and "END" never comes; the
    // result is the first 520 of that. A value's own "%e%" stays.
    std::string big = "x";
    for (int i = 0; i < 86; ++i) big += "%e%";
    define("%big%", big);
    define("%e%", "");
    const std::string six = expandFolderAndDate("%big%%big%%big%%big%%big%%big%END");
    EXPECT_EQ(six, (big + big + big).substr(0, 520));
    EXPECT_EQ(lastExpansion, (big + big + big + big + big).substr(0, 1040));

    // A value that holds its own name and outgrows the text still ends.
    define("%grow%", "%grow%" + std::string(250, 'g'));
    std::string manyGrow;
    for (int i = 0; i < 60; ++i) manyGrow += "%grow%";
    EXPECT_EQ(expandFolderAndDate(manyGrow).size(), 520u);
    EXPECT_EQ(lastExpansion.size(), 1040u);
}

}  // namespace
