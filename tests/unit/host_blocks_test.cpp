// Host blocks: the patterns of "[host:...]" headers, finding the headers in
// a settings text, and the block a dispatch chooses by the target's host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/host_blocks.h"
#include "settings/host_pattern.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/readme_sample.h"
#include "tests/support/tally_ui.h"
#include "tests/support/temp_dir.h"

namespace {

struct MatchCase {
    const char* host;
    const char* pattern;
    bool matches;
};

void expectMatches(const std::vector<MatchCase>& cases) {
    for (const MatchCase& c : cases)
        EXPECT_EQ(hostMatchesPattern(c.host, c.pattern), c.matches)
            << "host '" << c.host << "', pattern '" << c.pattern << "'";
}

TEST(HostPattern, ExactNamesThatHostOnly) {
    expectMatches({
        {"example.com", "example.com", true},
        {"www.example.com", "example.com", false},
        {"example.com", "www.example.com", false},
        {"notexample.com", "example.com", false},
        {"example.co", "example.com", false},
        {"example.com", "example.co", false},
        {"127.0.0.1", "127.0.0.1", true},
        // Blanks around a pattern are no part of it; the root's dot is.
        {"example.com", "  example.com ", true},
        {"example.com.", "example.com", true},
        {"example.com", "example.com.", true},
    });
}

TEST(HostPattern, WildcardNamesTheDomainAndEveryHostBelowIt) {
    expectMatches({
        {"example.com", "*.example.com", true},
        {"www.example.com", "*.example.com", true},
        {"a.b.example.com", "*.example.com", true},
        {"badexample.com", "*.example.com", false},
        {"example.com.evil.net", "*.example.com", false},
        {"com", "*.example.com", false},
        {"www.example.org", "*.example.com", false},
    });
}

TEST(HostPattern, AsciiCaseAndAPortAreIgnored) {
    expectMatches({
        {"EXAMPLE.com", "example.COM", true},
        {"WWW.Example.Com", "*.EXAMPLE.com", true},
        {"example.com", "example.com:8080", true},
        {"a.example.com", "*.example.com:443", true},
        {"example.com", "example.com:", true},
        // Text after the colon that is no port makes no pattern.
        {"example.com", "example.com:http", false},
    });
}

TEST(HostPattern, OtherBytesAreComparedAsWritten) {
    expectMatches({
        {"例え.jp", "例え.jp", true},
        {"www.例え.jp", "*.例え.jp", true},
        {"例え.JP", "例え.jp", true},
        // No conversion between a Japanese host and its "xn--" form.
        {"xn--r8jz45g.jp", "例え.jp", false},
        {"例え.jp", "xn--r8jz45g.jp", false},
        // The second bytes of "ア" and "ヂ" are 'A' and 'a': not folded.
        {"アア.jp", "ヂヂ.jp", false},
        // Second bytes that look like '\' ("表", "ソ") or '@' are no such
        // characters.
        {"表ソ.jp", "表ソ.jp", true},
        {"www.表ソ.jp", "*.表ソ.jp", true},
        {"ー@.jp", "ー@.jp", false},
    });
}

TEST(HostPattern, EmptyAndMalformedPatternsNameNoHost) {
    struct FormCase {
        const char* pattern;
        HostPatternForm form;
    };
    const FormCase cases[] = {
        {"example.com", HostPatternForm::exact},
        {" example.com:8080 ", HostPatternForm::exact},
        {"表ソ.jp", HostPatternForm::exact},
        {"*.example.com", HostPatternForm::wildcard},
        {"", HostPatternForm::empty},
        {"   ", HostPatternForm::empty},
        {":80", HostPatternForm::empty},
        {"*", HostPatternForm::malformed},
        {"*.", HostPatternForm::malformed},
        {"*example.com", HostPatternForm::malformed},
        {"www.*.com", HostPatternForm::malformed},
        {"example.com/path", HostPatternForm::malformed},
        {"http://example.com", HostPatternForm::malformed},
        {"user@example.com", HostPatternForm::malformed},
        {"exa mple.com", HostPatternForm::malformed},
        {"a..example.com", HostPatternForm::malformed},
        {".example.com", HostPatternForm::malformed},
        {"ー@.jp", HostPatternForm::malformed},
    };
    for (const FormCase& c : cases) {
        EXPECT_EQ(hostPatternForm(c.pattern), c.form) << c.pattern;
        if (c.form == HostPatternForm::empty || c.form == HostPatternForm::malformed) {
            EXPECT_FALSE(hostMatchesPattern(c.pattern, c.pattern)) << c.pattern;
        }
    }
    EXPECT_FALSE(hostMatchesPattern("", "example.com"));
}

TEST(HostPattern, Lists) {
    EXPECT_EQ(splitHostPatterns("a.com; *.b.com;;"),
              (std::vector<std::string_view>{"a.com", " *.b.com", "", ""}));
    EXPECT_TRUE(hostMatchesPatternList("x.b.com", "a.com; *.b.com"));
    EXPECT_TRUE(hostMatchesPatternList("a.com", " ; a.com"));
    EXPECT_FALSE(hostMatchesPatternList("c.com", "a.com;*.b.com"));
    EXPECT_FALSE(hostMatchesPatternList("", "a.com"));
    EXPECT_FALSE(hostMatchesPatternList("a.com", ""));
    EXPECT_EQ(hostPatternKey(" *.Example.COM:80 "), "*.example.com");
    EXPECT_EQ(hostPatternKey("例え.JP."), "例え.jp");
}

TEST(HostPattern, Covers) {
    struct Case {
        const char* earlier;
        const char* later;
        bool covers;
    };
    const Case cases[] = {
        {"a.example", "A.example:80", true},
        {"*.example", "www.a.example", true},
        {"*.example", "*.a.example", true},
        {"*.example", "example", true},
        {"*.a.example", "*.example", false},
        {"a.example", "*.a.example", false},  // the hosts below it are left
        {"a.example", "b.example", false},
        {"a.example", "", false},
        {"", "a.example", false},
        {"*.例え.jp", "www.例え.jp", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hostPatternCovers(c.earlier, c.later), c.covers) << c.earlier << " / " << c.later;
}

TEST(HostHeaders, FoundInFileOrderOutsideComments) {
    const std::string text =
        "; [host:comment.example] is no header\n"
        "[host:a.com;*.b.com]\r\n"
        "x\n"
        "%end\n"
        "  [HOST:c.com]#\r\n"
        "[host:d.com\n"
        "text [host:e.com] inside a line\n";
    const std::vector<HostHeader> headers = hostHeaders(text);
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[0].patterns, "a.com;*.b.com");
    EXPECT_EQ(headers[0].at, text.find("[host:a.com"));
    EXPECT_FALSE(headers[0].exclusive);
    EXPECT_EQ(headers[1].patterns, "c.com");
    EXPECT_TRUE(headers[1].exclusive);
    EXPECT_FALSE(headers[2].closed);
    EXPECT_EQ(headers[3].patterns, "e.com");

    EXPECT_EQ(firstHostHeaderFor(headers, "x.b.com"), &headers[0]);
    EXPECT_EQ(firstHostHeaderFor(headers, "C.com"), &headers[1]);
    EXPECT_EQ(firstHostHeaderFor(headers, "d.com"), nullptr);  // no ']'
    EXPECT_EQ(firstHostHeaderFor(headers, "comment.example"), nullptr);
    EXPECT_EQ(firstHostHeaderFor(headers, ""), nullptr);
}

class HostDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        settings = Settings{};
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        editor = dir.write("editor.exe", "MZ");
        player = dir.write("player.exe", "MZ");
    }
    void TearDown() override { installUi(previousUi); }

    // Dispatches `url`; returns the files started.
    std::vector<std::string> dispatch(const std::string& ini, const std::string& url) {
        fake.starts.clear();
        ui.menus = 0;
        dir.write("Tavrin.ini", ini);
        urlList.entries[0].url = url;
        urlList.urlCount = 1;
        openWithSettings(nullptr, 0, 0);
        std::vector<std::string> files;
        for (const auto& s : fake.starts) files.push_back(s.file);
        return files;
    }

    FakePlatform fake;
    TallyUi ui;
    UiPort* previousUi = nullptr;
    TempDir dir;
    std::string viewer, editor, player;
};

TEST_F(HostDispatch, BlockChoice) {
    struct Case {
        std::string name, ini, url;
        std::vector<std::string> started;
        int menus;
    };
    const std::string html = "[.html]\n" + viewer + "\n%end\n";
    const std::string all = "[all]\n" + editor + "\n%end\n";
    const std::string video = "[host:video.example;*.clips.example]\n" + player + "\n%end\n";
    const std::vector<Case> cases = {
        {"host block in place of the extension block", html + video, "http://video.example/a.html",
         {player}, 0},
        {"subdomain of a wildcard", html + video, "https://www.clips.example/watch", {player}, 0},
        {"other hosts keep the extension block", html + video, "http://other.example/a.html",
         {viewer}, 0},
        {"case and port", html + video, "http://VIDEO.Example:8080/a.html", {player}, 0},
        {"the first matching block wins",
         "[host:*.example]\n" + editor + "\n%end\n" + video, "http://video.example/", {editor}, 0},
        {"a later, closer pattern does not win",
         video + "[host:www.clips.example]\n" + editor + "\n%end\n", "http://www.clips.example/",
         {player}, 0},
        {"host block plus [all] offers a menu", html + video + all, "http://video.example/a.html",
         {}, 1},
        {"exclusive host block leaves [all] out",
         html + "[host:video.example]#\n" + player + "\n%end\n" + all,
         "http://video.example/a.html", {player}, 0},
        {"a host block without programs falls back to [.*] with a menu",
         "[host:video.example]\n" + dir.file("gone.exe") + "\n%end\n[.*]\n" + viewer + "\n%end\n",
         "http://video.example/a.html", {}, 1},
        {"...and without [.*] the system opens it",
         html + "[host:video.example]\n" + dir.file("gone.exe") + "\n%end\n",
         "http://video.example/a.html", {"http://video.example/a.html"}, 0},
        {"ftp URLs have hosts", html + video, "ftp://video.example/a.html", {player}, 0},
        {"mailto has no host", "[host:video.example]\n" + player + "\n%end\n",
         "mailto:me@video.example", {"mailto:me@video.example"}, 0},
        {"file URLs have no host", html + "[host:localhost]\n" + player + "\n%end\n",
         "file://localhost/C:/a.html", {viewer}, 0},
        {"a path is no URL", "[.url]\n" + viewer + "\n%end\n[host:video.example]\n" + player +
         "\n%end\n", "C:\\Links\\video.example.url", {viewer}, 0},
        {"a header in a comment is none",
         html + "; [host:video.example]\n" + player + "\n%end\n", "http://video.example/a.html",
         {viewer}, 0},
        {"a header without ']' is none", html + "[host:video.example\n" + player + "\n%end\n",
         "http://video.example/a.html", {viewer}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dispatch(c.ini, c.url), c.started);
        EXPECT_EQ(ui.menus, c.menus);
    }
}

TEST_F(HostDispatch, BlockLinesWorkAsInAnyBlock) {
    const std::string ini = "[host:*.example.com]\n" + player + " | Player\n>-site %G -file %K\n%end\n";
    dispatch(ini, "http://www.example.com:8080/v/clip.mp4?t=1");
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, player);
    EXPECT_EQ(fake.starts[0].parameters, "-site www.example.com -file clip.mp4");
    EXPECT_EQ(dispatchState.sectionKey, "[host:*.example.com]");

    // Two sub-commands: the menu, with the block's rows.
    dispatch("[host:example.com]\n" + player + "\n>-a %L\n>-b %L\n%end\n", "http://example.com/");
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(ui.menus, 1);
    EXPECT_EQ(associationTable.programCount, 1);
    EXPECT_EQ(associationTable.items[0].subCount, 2);
}

TEST_F(HostDispatch, WithoutAMatchingHostBlockTheExtensionKeyIsSearched) {
    dispatch("[host:a.example]\n" + player + "\n%end\n[.html]\n" + viewer + "\n%end\n",
             "http://b.example/x.HTML");
    EXPECT_EQ(dispatchState.sectionKey, "[.HTML]");
    EXPECT_EQ(fake.starts.size(), 1u);
}

// The README's example of host blocks, with its programs in the test's
// folder: each URL goes where the README's comments say.
TEST_F(HostDispatch, ReadmeExample) {
    std::string ini = readmeIniBlockWith("[host:");
    ASSERT_NE(ini.find("[host:"), std::string::npos) << "README.md's host block example";
    const std::string browser = dir.write("browser.exe", "MZ");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"C:\\Tools\\player.exe", player},
                                   {"C:\\Program Files\\Browser\\browser.exe", browser}}) {
        const std::size_t at = ini.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        ini.replace(at, from.size(), to);
    }
    const std::string all = "[all]\n" + editor + "\n%end\n";
    EXPECT_EQ(dispatch(ini + all, "https://www.clips.example/v/a.mp4"), std::vector<std::string>{player});
    EXPECT_EQ(fake.starts[0].parameters, "--title \"a.mp4\" https://www.clips.example/v/a.mp4");
    EXPECT_EQ(dispatch(ini + all, "http://VIDEO.example.com:80/"), std::vector<std::string>{player});
    // The bank's block with [all]: a menu of two.
    EXPECT_EQ(dispatch(ini + all, "https://www.bank.example/login"), std::vector<std::string>{});
    EXPECT_EQ(ui.menus, 1);
    EXPECT_EQ(associationTable.programCount, 2);
    EXPECT_EQ(associationTable.items[0].caption, "Bank");
    // Not the bank's host, and no other block: the system opens it.
    EXPECT_EQ(dispatch(ini, "https://bank.example/"), std::vector<std::string>{"https://bank.example/"});
}

}  // namespace
