// Source blocks: the patterns of "[from:...]" headers, the block a dispatch
// chooses by the program the targets came from before host and extension
// blocks, and the "%O" and "%V" placeholders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/routing.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "settings/source_blocks.h"
#include "settings/source_pattern.h"
#include "template/path_template.h"
#include "template/url_template.h"
#include "tests/support/fake_platform.h"
#include "tests/support/readme_sample.h"
#include "tests/support/tally_ui.h"
#include "tests/support/temp_dir.h"

namespace {

const SourceProgram outlook{"OUTLOOK.EXE", "C:\\Program Files\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE"};
const SourceProgram teams{"ms-teams.exe", "C:\\Program Files\\WindowsApps\\MSTeams_1.0\\ms-teams.exe"};
// "表示.exe" in a folder "ソフト": both end in the byte of a backslash.
const SourceProgram japanese{"\x95\x5c\x8e\xa6.exe", "D:\\\x83\x5c\x83\x74\x83\x67\\\x95\x5c\x8e\xa6.exe"};
// A name with a character code page 932 lacks, as the platform gives it.
const SourceProgram lossy{"caf?.exe", "C:\\Apps\\caf?.exe"};
const SourceProgram nameOnly{"mailer.exe", ""};

TEST(SourcePattern, Matching) {
    struct Case {
        const SourceProgram& source;
        std::string pattern;
        bool matches;
    };
    const Case cases[] = {
        {outlook, "outlook.exe", true},
        {outlook, "  Outlook.Exe ", true},
        {outlook, "outlook", false},
        {outlook, "look.exe", false},
        {outlook, "*look.exe", true},
        {outlook, "out*", true},
        {outlook, "*", true},
        {outlook, "outl??k.exe", true},
        {outlook, "outl?k.exe", false},
        {teams, "*teams*.exe", true},
        {teams, "*TEAMS*", true},
        {teams, "teams.exe", false},
        // A pattern with '\' is matched against the whole path.
        {outlook, "C:\\Program Files\\Microsoft Office\\*", true},
        {outlook, "c:\\program files\\*\\outlook.exe", true},
        {outlook, "C:\\Program Files\\*", true},
        {outlook, "D:\\*", false},
        {outlook, "\\OUTLOOK.EXE", false},
        {outlook, "*\\OUTLOOK.EXE", true},
        {nameOnly, "mailer.exe", true},
        {nameOnly, "*\\mailer.exe", false},
        // Double-byte characters are whole characters: '?' takes one, and
        // their second byte is never a separator nor folded.
        {japanese, "\x95\x5c\x8e\xa6.exe", true},
        {japanese, "??.exe", true},
        {japanese, "???.exe", false},
        {japanese, "D:\\\x83\x5c\x83\x74\x83\x67\\*", true},
        {japanese, "D:\\*\\??.exe", true},
        {japanese, "\x95\x7c\x8e\xa6.exe", false},
        // What the code page lacks is matched by a wildcard only.
        {lossy, "caf?.exe", true},
        {lossy, "caf*", true},
        {lossy, "cafe.exe", false},
        // Malformed and empty patterns name nothing.
        {outlook, "", false},
        {outlook, "out/look.exe", false},
        {outlook, "C:\\Program Files\\", false},
        {outlook, "outlook.exe|", false},
        {SourceProgram{}, "*", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sourceMatchesPattern(c.source, c.pattern), c.matches)
            << "'" << c.source.name << "', pattern '" << c.pattern << "'";
    EXPECT_TRUE(sourceMatchesPatternList(teams, "outlook.exe; *teams*.exe"));
    EXPECT_FALSE(sourceMatchesPatternList(teams, "outlook.exe;;"));
}

TEST(SourcePattern, FormsAndCoverage) {
    struct FormCase {
        std::string pattern;
        SourcePatternForm form;
    };
    const FormCase forms[] = {
        {"outlook.exe", SourcePatternForm::name},   {"*teams*", SourcePatternForm::name},
        {"C:\\Mail\\*", SourcePatternForm::path},   {"\\\\server\\share\\m.exe", SourcePatternForm::path},
        {"  ", SourcePatternForm::empty},           {"", SourcePatternForm::empty},
        {"C:/Mail/m.exe", SourcePatternForm::malformed}, {"m:exe", SourcePatternForm::malformed},
        {"C:\\Mail\\", SourcePatternForm::malformed},    {"a\"b", SourcePatternForm::malformed},
        {"x:\\C:\\m.exe", SourcePatternForm::malformed},
        // "表" ends in 0x5C: no separator, so a name.
        {"\x95\x5c.exe", SourcePatternForm::name},
    };
    for (const FormCase& c : forms) EXPECT_EQ(sourcePatternForm(c.pattern), c.form) << c.pattern;

    struct CoverCase {
        std::string earlier, later;
        bool covers;
    };
    const CoverCase covers[] = {
        {"*", "outlook.exe", true},
        {"*", "C:\\Mail\\*", true},
        {"OUTLOOK.EXE", "outlook.exe", true},
        {"*look.exe", "outlook.exe", true},
        {"outlook.exe", "C:\\Office\\outlook.exe", true},
        {"outlook.exe", "C:\\Office\\*", false},
        {"C:\\Office\\*", "C:\\Office\\outlook.exe", true},
        {"C:\\Office\\*", "outlook.exe", false},
        {"*teams*.exe", "*teams*.exe", true},
        {"*teams*.exe", "ms-teams*.exe", false},  // true, but not told for sure
        {"o?tlook.exe", "o*tlook.exe", false},
        {"outlook.exe", "mailer.exe", false},
        {"", "outlook.exe", false},
    };
    for (const CoverCase& c : covers)
        EXPECT_EQ(sourcePatternCovers(c.earlier, c.later), c.covers) << c.earlier << " / " << c.later;
}

TEST(SourceHeaders, FirstMatchingClosedHeaderOutsideComments) {
    const std::string text =
        "; [from:outlook.exe] is no header\n"
        "[from:mailer.exe;*teams*.exe]\r\n"
        "x\n%end\n"
        "  [FROM:C:\\Program Files\\Microsoft Office\\*]#\r\n"
        "[from:outlook.exe\n";
    const std::vector<PatternHeader> headers = sourceHeaders(text);
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_EQ(headers[0].patterns, "mailer.exe;*teams*.exe");
    EXPECT_TRUE(headers[1].exclusive);
    EXPECT_FALSE(headers[2].closed);
    EXPECT_EQ(firstSourceHeaderFor(headers, teams), &headers[0]);
    EXPECT_EQ(firstSourceHeaderFor(headers, outlook), &headers[1]);
    EXPECT_EQ(firstSourceHeaderFor(headers, SourceProgram{"OUTLOOK.EXE", ""}), nullptr);
    EXPECT_EQ(firstSourceHeaderFor(headers, SourceProgram{}), nullptr);
}

class SourceDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
        settings = Settings{};
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
        work = dir.write("work.exe", "MZ");
        chat = dir.write("chat.exe", "MZ");
    }
    void TearDown() override {
        installUi(previousUi);
        installBrowserPort(previousBrowser);
        urlList = UrlList{};
    }

    // Dispatches `url` come from `source`; the files started.
    std::vector<std::string> dispatch(const std::string& ini, const std::string& url,
                                      const SourceProgram& source) {
        fake.starts.clear();
        ui.menus = 0;
        dir.write("Tavrin.ini", ini);
        urlList.entries[0].url = url;
        urlList.urlCount = 1;
        takeSource(source);
        openWithSettings(nullptr, 0, 0);
        std::vector<std::string> files;
        for (const auto& s : fake.starts) files.push_back(s.file);
        return files;
    }

    FakePlatform fake;
    TallyUi ui;
    UiPort* previousUi = nullptr;
    BrowserPort* previousBrowser = nullptr;
    TempDir dir;
    std::string viewer, editor, work, chat;
};

TEST_F(SourceDispatch, ChoiceOrder) {
    struct Case {
        std::string name, ini;
        const SourceProgram& source;
        std::vector<std::string> started;
        int menus;
    };
    const std::string html = "[.html]\n" + viewer + "\n%end\n";
    const std::string host = "[host:*.example]\n" + editor + "\n%end\n";
    const std::string mail = "[from:outlook.exe;mailer.exe]\n" + work + "\n%end\n";
    const std::string all = "[all]\n" + editor + "\n%end\n";
    const std::string url = "http://www.example/a.html";
    const std::vector<Case> cases = {
        {"the source block before the host block", html + host + mail, outlook, {work}, 0},
        {"...wherever it stands in the file", mail + host + html, outlook, {work}, 0},
        {"another program: the host block", html + host + mail, teams, {editor}, 0},
        {"no source known: the host block", html + host + mail, SourceProgram{}, {editor}, 0},
        {"no source and no host block: the extension block", html + mail, SourceProgram{}, {viewer}, 0},
        {"the first matching source block wins",
         "[from:*]\n" + chat + "\n%end\n" + mail, outlook, {chat}, 0},
        {"a path pattern", html + "[from:C:\\Program Files\\*]\n" + work + "\n%end\n", outlook, {work}, 0},
        {"[all] is added", html + mail + all, outlook, {}, 1},
        {"...unless exclusive", html + "[from:outlook.exe]#\n" + work + "\n%end\n" + all, outlook, {work}, 0},
        {"a source block without programs falls back to [.*]",
         html + "[from:outlook.exe]\n" + dir.file("gone.exe") + "\n%end\n[.*]\n" + chat + "\n%end\n",
         outlook, {}, 1},
        {"a header in a comment is none", html + "; [from:outlook.exe]\n" + work + "\n%end\n", outlook,
         {viewer}, 0},
        {"targets that are paths go by source too", "[.url]\n" + viewer + "\n%end\n" + mail, outlook,
         {work}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = c.name.find("paths") != std::string::npos ? "C:\\Links\\a.url" : url;
        EXPECT_EQ(dispatch(c.ini, target, c.source), c.started);
        EXPECT_EQ(ui.menus, c.menus);
    }
    dispatch(mail, url, outlook);
    EXPECT_EQ(dispatchState.sectionKey, "[from:outlook.exe;mailer.exe]");
}

TEST_F(SourceDispatch, PlaceholdersPassTheSourceOn) {
    dispatch("[from:*teams*]\n" + chat + "\n>--from \"%O\" --path \"%V\" %L\n%end\n",
             "http://a.example/x", teams);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "--from \"ms-teams.exe\" --path \"" + teams.path +
                                             "\" http://a.example/x");

    // Without a source both are empty; letter case does not matter; a
    // value holding a placeholder is inserted once.
    takeSource(SourceProgram{});
    runState.currentTarget = "http://a.example/x";
    EXPECT_EQ(expandUrlTemplate("[%o|%v]", "", 0), "[|]");
    takeSource(SourceProgram{"%L.exe", "C:\\%G\\%L.exe"});
    EXPECT_EQ(expandUrlTemplate("%O %V", "", 0), "%L.exe C:\\%G\\%L.exe");
    EXPECT_EQ(expandUrlTemplate("%O", "", 1), "%L.exe");

    // A downloaded file's program gets them too.
    takeSource(outlook);
    runState.currentTarget = dir.file("page.html");
    EXPECT_EQ(expandPathTemplate("\"%P\" %O", 0), "\"" + dir.file("page.html") + "\" OUTLOOK.EXE");
}

int decisions = 0;
SourceProgram decideOutlook() {
    ++decisions;
    return outlook;
}

// The start's source is decided when first wanted, once: a dispatch whose
// settings hold no source block never asks the system about processes.
TEST_F(SourceDispatch, TheStartsSourceIsDecidedWhenFirstWanted) {
    const std::string html = "[.html]\n" + viewer + "\n>%L\n%end\n";
    struct Case {
        std::string name, ini;
        int decisions;
        std::string started;
    };
    const Case cases[] = {
        {"no source block", html, 0, viewer},
        {"a source block", html + "[from:outlook.exe]\n" + work + "\n%end\n", 1, work},
        {"a placeholder", "[.html]\n" + viewer + "\n>%O %L\n%end\n", 1, viewer},
        {"a path placeholder after a download", "[.html]\n" + viewer + "\n*>\"%P\" %V\n%end\n", 1, viewer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        decisions = 0;
        runState = RunState{};
        runState.startSourceDecider = decideOutlook;
        fake.starts.clear();
        dir.write("Tavrin.ini", c.ini);
        urlList.entries[0].url = "http://a.example/x.html";
        urlList.urlCount = 1;
        takeStartSource();
        openWithSettings(nullptr, 0, 0);
        EXPECT_EQ(decisions, c.decisions);
        ASSERT_EQ(fake.starts.size(), 1u);
        EXPECT_EQ(fake.starts[0].file, c.started);
        // Asked again, it is not decided again.
        EXPECT_EQ(targetSource().name, "OUTLOOK.EXE");
        EXPECT_EQ(decisions, 1);
    }
    // A list the start opens may be kept open for long: its source is
    // decided as it opens, not when a row is first opened.
    decisions = 0;
    runState = RunState{};
    runState.startSourceDecider = decideOutlook;
    settings.schemeEnabled = {1, 1, 1, 1};
    ui.listAvailable = true;
    runState.currentTarget = dir.write("links.txt", "http://a.example/1\nhttp://a.example/2\n");
    startupAction(nullptr, 0, 0);
    EXPECT_EQ(runState.listWindowActive, 1);
    EXPECT_EQ(urlList.urlCount, 2);
    EXPECT_EQ(decisions, 1);
    EXPECT_EQ(targetSource().name, "OUTLOOK.EXE");
    runState = RunState{};
}

// The README's example of source blocks: each source goes where its
// comments say.
TEST_F(SourceDispatch, ReadmeExample) {
    std::string ini = readmeIniBlockWith("[from:");
    ASSERT_NE(ini.find("[from:"), std::string::npos) << "README.md's source block example";
    const std::string browser = dir.write("browser.exe", "MZ");
    const std::size_t at = ini.find("C:\\Program Files\\Browser\\browser.exe");
    ASSERT_NE(at, std::string::npos);
    for (std::size_t i = at; i != std::string::npos; i = ini.find("C:\\Program Files\\Browser\\browser.exe"))
        ini.replace(i, std::string("C:\\Program Files\\Browser\\browser.exe").size(), browser);
    const std::string url = "https://docs.example/report.html";
    EXPECT_EQ(dispatch(ini, url, outlook), std::vector<std::string>{browser});
    EXPECT_EQ(fake.starts[0].parameters, "--profile-directory=Work " + url);
    EXPECT_EQ(dispatch(ini, url, teams), std::vector<std::string>{browser});
    EXPECT_EQ(fake.starts[0].parameters, "--profile-directory=Chat " + url);
    // From anywhere else: the system opens it.
    EXPECT_EQ(dispatch(ini, url, SourceProgram{"explorer.exe", "C:\\Windows\\explorer.exe"}),
              std::vector<std::string>{url});
}

}  // namespace
