// "tavrin-check open" against Tavrin's real start: for every case the
// real start-up action runs with a platform that records starts, then the
// check tool runs on the same files; both must name the same command
// lines, working folders, pauses and downloads. And the dry run changes
// nothing on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/routing.h"
#include "app/switches.h"
#include "bridge/bridge.h"
#include "check/check.h"
#include "check/open_command.h"
#include "common/app_state.h"
#include "common/source_program.h"
#include "launch/select.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/check_state.h"
#include "tests/support/fake_platform.h"
#include "tests/support/readme_sample.h"
#include "tests/support/tally_ui.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, by);) parts.push_back(part);
    return parts;
}

// What a run did, as lines comparable between the two sides.
struct Did {
    std::vector<std::string> starts;  // "file|parameters|directory"
    std::vector<std::string> pauses;
    std::vector<std::string> downloads;  // "url|local path"
    std::vector<std::string> messages;   // "caption|text"
    int menus = 0;                       // association or tools menus
    bool operator==(const Did& o) const {
        return starts == o.starts && pauses == o.pauses && downloads == o.downloads &&
               messages == o.messages && menus == o.menus;
    }
};

std::ostream& operator<<(std::ostream& out, const Did& d) {
    out << "menus " << d.menus << "; starts";
    for (const auto& s : d.starts) out << " [" << s << "]";
    out << "; pauses";
    for (const auto& s : d.pauses) out << " " << s;
    out << "; downloads";
    for (const auto& s : d.downloads) out << " [" << s << "]";
    out << "; messages " << d.messages.size();
    return out;
}

class CheckOpen : public ::testing::Test {
protected:
    SavedTavrinState saved;
    TempDir dir;
    const std::string sep = std::string(1, dir.path().back());
    std::string viewer = dir.write(dir.mkdir("prog dir").substr(dir.path().size()) + sep + "viewer.exe", "MZ");
    std::string editor = dir.write("editor.exe", "MZ");

    std::string fill(std::string text) const {
        for (const auto& [mark, value] : {std::pair<std::string, std::string>{"<viewer>", viewer},
                                          {"<editor>", editor}, {"<dir>", dir.path()}})
            for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
        return text;
    }

    // Tavrin's own start: creation step and start-up action, with its own
    // folder as the current one (as the check tool takes it).
    Did real(const std::vector<std::string>& words, bool shift, const SourceProgram& source = {}) {
        const fs::path previousFolder = fs::current_path();
        fs::current_path(dir.path());
        struct Back {
            fs::path folder;
            ~Back() { fs::current_path(folder); }
        } back{previousFolder};
        FakePlatform fake;
        TallyUi ui;
        UiPort* previousUi = installUi(&ui);
        BrowserPort* previousBrowser = installBrowserPort(&bridgeBrowserPort());
        programPaths = ProgramPaths{};
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        runState = RunState{};
        runState.startSourceProgram = source;
        startOptions = StartOptions{};
        linkSource = LinkSource{};
        settings = Settings{};
        runState.currentTarget = tavrinCommandLine(words);
        applySwitches(runState.currentTarget, switchesFull);
        EXPECT_EQ(loadSettings(nullptr, 0), 1);
        runState.shiftFlag = shift ? 1 : 0;
        startupAction(nullptr, runState.shiftFlag, 0);
        installUi(previousUi);
        installBrowserPort(previousBrowser);
        Did d;
        for (const auto& s : fake.starts) d.starts.push_back(s.file + "|" + s.parameters + "|" + s.directory);
        for (int ms : fake.sleeps) d.pauses.push_back(std::to_string(ms));
        for (const auto& s : fake.downloads) d.downloads.push_back(s.url + "|" + s.localPath);
        // The box text in one line, as the tab-separated form shows it.
        for (const auto& m : fake.messages) {
            std::string text;
            for (char ch : m.text)
                if (ch != '\r') text += ch == '\n' ? ' ' : ch;
            d.messages.push_back(m.caption + "|" + text);
        }
        d.menus = ui.menus;
        return d;
    }

    int check(std::vector<std::string> words, CheckOutput& output) {
        CheckEnvironment environment;
        environment.ownFolder = dir.path();
        return runCheck(words, environment, output);
    }

    // The check tool's account of the same start (its tab-separated form).
    Did dry(const std::vector<std::string>& words, bool shift, const std::string& from = "") {
        std::vector<std::string> args{"open", "--tsv", "--ini", dir.file("Tavrin.ini")};
        if (shift) args.push_back("--shift");
        if (!from.empty()) args.insert(args.end(), {"--from", from});
        args.push_back("--");
        args.insert(args.end(), words.begin(), words.end());
        CheckOutput output;
        check(args, output);
        Did d;
        for (const std::string& line : split(output.out, '\n')) {
            const std::vector<std::string> f = split(line, '\t');
            if (f.empty()) continue;
            if (f[0] == "start") d.starts.push_back(f[1] + "|" + f[2] + "|" + f[3]);
            if (f[0] == "open") d.starts.push_back(f[1] + "||");
            if (f[0] == "pause") d.pauses.push_back(f[1]);
            if (f[0] == "download") d.downloads.push_back(f[1] + "|" + f[2]);
            if (f[0] == "message") d.messages.push_back(f[1] + "|" + f[2]);
            if (f[0] == "menu" || f[0] == "tools-menu") ++d.menus;
        }
        return d;
    }
};

TEST_F(CheckOpen, NamesWhatTavrinStarts) {
    struct Case {
        const char* name;
        std::string ini;
        std::vector<std::string> words;
        bool shift = false;
    };
    const std::string html = "[.html]\n<viewer>\n%end\n";
    const std::vector<Case> cases = {
        {"single program", html, {"http://host/dir/page.html"}},
        {"a URL with a space", html, {"http://host/my dir/page.html"}},
        {"a title after ||", html, {"http://host/page.html||My page"}},
        {"exclusive block", "[.txt]#\n<viewer>\n%end\n[all]\n<editor>\n%end\n", {"http://h/notes.txt"}},
        {"menu", "[.txt]\n<viewer>\n%end\n[all]\n<editor>\n%end\n", {"http://h/notes.txt"}},
        {"fallback offers a menu", "[.txt]\n<dir>gone.exe\n%end\n[.*]\n<viewer>\n%end\n", {"http://h/a.txt"}},
        {"fallback single", "[.*]\n<viewer>\n>-open %K\n%end\n", {"http://h/doc.pdf"}},
        {"no block", "[.txt]\n<viewer>\n%end\n", {"http://h/x.html"}},
        {"run template", "[.html]\n<viewer>\n>-host %G -path %J -dir %-J -base %-L | V\n%end\n",
         {"http://www.example.com:8080/a/b/page.html?q=1#top"}},
        {"all targets", "[.html]\n<viewer>\n>-a %M -z\n%end\n", {"http://h/1.html", "http://h/url 2.html"}},
        {"each target with pauses", "[system]\n@dist=300,600\n%end\n[.html]\n<viewer>\n]-u %L\n%end\n",
         {"http://h/1.html", "http://h/2.html", "http://h/3.html"}},
        {"browser hand-over without the bridge", "[.html]\n<viewer>\n>%S\n%end\n", {"http://h/a b.html"}},
        {"download first", "[.html]\n<viewer>\n*>-f \"%P\" | Save\n%end\n", {"http://h/dir/page.html"}},
        {"missing %end runs on", "[.html]\n<dir>gone.exe\n[.txt]\n<viewer>\n%end\n", {"http://h/x.html"}},
        {"header in a comment", "; the [.html] block\n<viewer>\n%end\n[.html]\n<editor>\n%end\n",
         {"http://h/x.html"}},
        {"@param keeps escapes", "[system]\n@param\n%who% | me\n%end\n[.html]\n<viewer>\n>%who% %L\n%end\n",
         {"http://h/%DD%82%A9.html"}},
        {"the second settings file with Shift",
         "[system]\n@ext2=second.ini\n%end\n" + html, {"http://h/x.html"}, true},
        {"a switch chooses the settings file", html, {"/#s=second.ini", "http://h/x.html"}},
        {"a switch text inside a URL", html, {"http://host/app/#blog.html"}},
        {"a URL too long", html, {"http://h/" + std::string(400, 'a') + ".html"}},
        {"no URL at all", html, {"nothing"}},
        {"a redirect link and tracking parameters",
         "[system]\n@unwrap\n@strip=default\n%end\n[.pdf]\n<viewer>\n>-f %K %L\n%end\n",
         {"https://www.google.com/url?q=https%3A%2F%2Fh%2Fr.pdf%3Futm_source%3Dx%26id%3D1&sa=U"}},
        {"a row that asks for the URL as given",
         "[system]\n@strip=default\n%end\n[.html]\n!<viewer>\n]-g %L\n%end\n",
         {"http://h/a.html?fbclid=1", "http://h/b.html?k=1&gclid=2"}},
    };
    dir.write("second.ini", fill("[.html]\n<editor>\n>-second %L\n%end\n"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("Tavrin.ini", fill(c.ini));
        const Did want = real(c.words, c.shift);
        const Did got = dry(c.words, c.shift);
        EXPECT_EQ(got, want);
        EXPECT_FALSE(want == Did{}) << "the case starts something or shows a menu";
    }
}

// "--from" stands for the program Tavrin was started from: the dry run
// chooses as Tavrin does, and says which source it assumed and which
// block that chose.
TEST_F(CheckOpen, FromNamesTheSource) {
    dir.write("Tavrin.ini", fill("[.html]\n<viewer>\n%end\n[from:mailer.exe]\n<editor>\n>--from %O %V %L\n%end\n"
                                 "[from:C:\\Chat\\*]\n<viewer>\n>--chat %L\n%end\n"));
    const std::vector<std::string> url{"http://h/a.html"};
    for (const std::string from : {"mailer.exe", "C:\\Apps\\MAILER.EXE", "C:\\Chat\\chat.exe", "notes.exe"}) {
        SCOPED_TRACE(from);
        EXPECT_EQ(dry(url, false, from), real(url, false, sourceProgramFrom(from)));
    }
    EXPECT_EQ(dry(url, false), real(url, false));

    CheckOutput out;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "--from", "C:\\Apps\\mailer.exe", url[0]}, out);
    EXPECT_NE(out.out.find("the program the link came from: mailer.exe (C:\\Apps\\mailer.exe) (given with --from)"),
              std::string::npos) << out.out;
    EXPECT_NE(out.out.find("key: [from:mailer.exe] (the first [from:] block naming mailer.exe"), std::string::npos)
        << out.out;
    EXPECT_NE(out.out.find("--from mailer.exe C:\\Apps\\mailer.exe http://h/a.html"), std::string::npos) << out.out;
    // A name alone never meets a path pattern; no source at all meets none.
    CheckOutput name, none, tsv;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "--from", "notes.exe", url[0]}, name);
    EXPECT_NE(name.out.find("no [from:] block names notes.exe (the file has 2)"), std::string::npos) << name.out;
    EXPECT_NE(name.out.find("a name alone"), std::string::npos) << name.out;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), url[0]}, none);
    EXPECT_NE(none.out.find("the program the link came from: none"), std::string::npos) << none.out;
    EXPECT_NE(none.out.find("key: [.html]"), std::string::npos) << none.out;
    check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), "--from", "notes.exe", url[0]}, tsv);
    EXPECT_NE(tsv.out.find("@source\tnotes.exe\t\n"), std::string::npos) << tsv.out;
    EXPECT_NE(tsv.out.find("@source-blocks-passed\t2\n"), std::string::npos) << tsv.out;
    // Settings without source blocks and no --from: nothing is said of it.
    dir.write("Tavrin.ini", fill("[.html]\n<viewer>\n%end\n"));
    CheckOutput plain;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), url[0]}, plain);
    EXPECT_EQ(plain.out.find("came from"), std::string::npos) << plain.out;
}

TEST_F(CheckOpen, ReadmeSampleSettings) {
    std::string ini = readmeSettingsSample();
    ASSERT_FALSE(ini.empty());
    // The sample's programs live in C:\Tools; here they are the test's.
    for (std::size_t at; (at = ini.find("C:\\Tools\\")) != std::string::npos;) ini.replace(at, 9, dir.path());
    dir.write("Tools/viewer.exe", "MZ");
    dir.write("viewer.exe", "MZ");
    dir.write("notepad.exe", "MZ");
    dir.write("Tavrin.ini", ini);
    for (const char* url : {"http://host/notes.txt", "http://host/page.html", "http://host/dir/",
                                  "http://host/file.pdf"}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(dry({url}, false), real({url}, false));
    }
}

TEST_F(CheckOpen, ReportNamesBlocksRowsAndDecision) {
    dir.write("Tavrin.ini", fill("; pages\n[.html]\n<viewer> | View\n>-open %L | Open\n%end\n[all]\n<editor>\n%end\n"));
    CheckOutput output;
    EXPECT_EQ(check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, output), 0);
    const std::string& out = output.out;
    EXPECT_NE(out.find("key: [.html]"), std::string::npos) << out;
    EXPECT_NE(out.find("block: [.html]  line 2: 1 program, 1 sub-command"), std::string::npos) << out;
    EXPECT_NE(out.find("[all]: added (line 6)"), std::string::npos) << out;
    EXPECT_NE(out.find("  View *\n      program " + viewer + ", its one sub-command >-open %L"), std::string::npos)
        << out;
    EXPECT_NE(out.find("chosen: start: \"" + viewer + "\" -open http://h/a.html  (in " + dir.path() + "prog dir"),
              std::string::npos) << out;
    EXPECT_NE(out.find("decision: show the menu (2 programs)"), std::string::npos) << out;

    // Japanese by default.
    CheckOutput ja;
    check({"open", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, ja);
    EXPECT_NE(ja.out.find("判定: メニューを表示"), std::string::npos);
}

TEST_F(CheckOpen, TellsWhatCleaningDid) {
    dir.write("Tavrin.ini", fill("[system]\n@unwrap=go.example/o?t\n@strip=default;sid\n%end\n"
                                 "[.pdf]\n<viewer> | View\n!<editor> | Keep\n%end\n"));
    const std::string given = "http://go.example/o?t=https%3A%2F%2Fwww.google.com%2Furl%3Fq%3Dhttps%3A%2F%2Fh%2Fr.pdf%253Fsid%253D9%2526utm_medium%253Dm%2526p%253D1";
    CheckOutput output;
    EXPECT_EQ(check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), given}, output), 0);
    const std::string& out = output.out;
    EXPECT_NE(out.find("command line: " + given + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("URL 1: https://h/r.pdf?p=1\n  as given: " + given + "\n"
                       "  unwrapped: go.example/o?t (@unwrap=)\n"
                       "  unwrapped: Google: www.google.com/url?q (a built-in redirector)\n"
                       "  dropped: sid=9 (sid of @strip=)\n"
                       "  dropped: utm_medium=m (utm_* of @strip=default)\n"),
              std::string::npos) << out;
    EXPECT_NE(out.find("  Keep\n      program " + editor + ": it gets the URL (given the URLs as given)"),
              std::string::npos) << out;
    EXPECT_NE(out.find("chosen: start: \"" + editor + "\" " + given), std::string::npos) << out;

    CheckOutput tsv;
    check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), given}, tsv);
    EXPECT_NE(tsv.out.find("@url\thttps://h/r.pdf?p=1\t\n@given\t" + given + "\n"
                           "@cleaned\tunwrap\tgo.example/o?t\t" + given + "\town\n"),
              std::string::npos) << tsv.out;
    EXPECT_NE(tsv.out.find("@cleaned\tstrip\tutm_*\tutm_medium=m\tbuilt-in\n"), std::string::npos) << tsv.out;

    // Nothing cleaned, nothing told.
    CheckOutput plain;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/r.pdf?p=1"}, plain);
    EXPECT_EQ(plain.out.find("  as given: "), std::string::npos) << plain.out;
}

TEST_F(CheckOpen, LoaderDownloadIsTold) {
    dir.write("getter.exe", "MZ");
    dir.write("Tavrin.ini", fill("[system]\n@loader=<dir>getter.exe\n>-o %K %L\n%end\n"
                                 "[.html]\n<viewer>\n#>\"%P\" | Get\n%end\n"));
    CheckOutput output;
    EXPECT_EQ(check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), "http://h/d/page.html"}, output), 0);
    const std::string temp = dir.path() + "temp\\page.html";
    EXPECT_NE(output.out.find("loader\t" + dir.path() + "getter.exe\t-o page.html http://h/d/page.html\n"),
              std::string::npos) << output.out;
    EXPECT_NE(output.out.find("loader-saves\t" + temp + "\n"), std::string::npos) << output.out;
    EXPECT_NE(output.out.find("start\t" + viewer + "\t\"" + temp + "\"\t"), std::string::npos) << output.out;
}

// Everything below the folder: names, sizes and times.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        std::string what = e.is_directory() ? "dir" : std::to_string(e.file_size());
        what += " " + std::to_string(fs::last_write_time(e.path()).time_since_epoch().count());
        files[e.path().string()] = what;
    }
    return files;
}

TEST_F(CheckOpen, ChangesNothingOnDisk) {
    dir.write("getter.exe", "MZ");
    dir.write("page.html", "<a href=\"http://h/x.html\">x</a>");
    dir.write("Tavrin.ini", fill("[system]\n@temp=del\n@loader=<dir>getter.exe\n%end\n[.html]\n<viewer>\n"
                                 "*<dir>dl>\"%P\" | Save\n%end\n[.zip]\n<viewer>\n#>%P\n%end\n"
                                 "[.pdf]\n<viewer>\n*\n%end\n"));
    // "@temp=del" would empty the temporary folder at start.
    dir.mkdir("temp");
    dir.write("temp/old.txt", "x");
    const auto before = snapshot(dir.path());
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"open", "http://h/a.html"}, {"open", "http://h/a.zip"}, {"open", "http://h/a.pdf"},
          {"open", dir.file("page.html")}, {"lint"}, {"links", dir.file("page.html")}}) {
        std::vector<std::string> args = words;
        args.push_back("--ini=" + dir.file("Tavrin.ini"));
        CheckOutput output;
        check(args, output);
    }
    EXPECT_EQ(snapshot(dir.path()), before);

    // Beside the tool there is no settings file: none is made.
    TempDir empty;
    CheckOutput output;
    CheckEnvironment environment;
    environment.ownFolder = empty.path();
    EXPECT_EQ(runCheck({"open", "http://h/a.html"}, environment, output), checkUsage);
    EXPECT_NE(output.err.find("Tavrin.ini"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST_F(CheckOpen, ExitStatus) {
    dir.write("Tavrin.ini", fill("[.html]\n<viewer>\n%end\n"));
    dir.mkdir("folder.ini");
    const std::string ini = "--ini=" + dir.file("Tavrin.ini");
    struct Case {
        std::vector<std::string> words;
        int status;
    };
    for (const Case& c : std::vector<Case>{
             {{"open", ini, "http://h/a.html"}, checkOk},
             {{"open", ini, "http://h/" + std::string(5000, 'a') + ".html"}, checkFindings},
             {{"open", ini, "no-url-here"}, checkFindings},
             {{"open", ini}, checkUsage},
             {{"open", "--ini=" + dir.file("missing.ini"), "http://h/a.html"}, checkUsage},
             {{"open", "--ini=" + dir.file("folder.ini"), "http://h/a.html"}, checkUsage},
             {{"open", ini, "--bogus", "http://h/a.html"}, checkUsage},
             {{"frobnicate"}, checkUsage},
             {{}, checkUsage},
         }) {
        CheckOutput output;
        EXPECT_EQ(check(c.words, output), c.status) << c.words.size();
        if (c.status == checkUsage) {
            EXPECT_FALSE(output.err.empty());
        }
    }
    // The long URL's caution box is told.
    CheckOutput output;
    check({"open", "--lang", "en", ini, "http://h/" + std::string(5000, 'a') + ".html"}, output);
    EXPECT_NE(output.out.find("message box [注意]"), std::string::npos) << output.out;
    EXPECT_NE(output.out.find("decision: nothing would start"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(CheckOpen, HandOverWithTheBridgeOffersTheUrlFirst) {
    // On Windows a bridge library beside Tavrin is asked first; the start
    // that follows happens only when no browser takes the URL.
    dir.write("tvDDE.dll", "MZ");
    dir.write("Tavrin.ini", fill("[system]\n@dde=IExplore;Firefox\n%end\n[.html]\n<viewer>\n>%S\n%end\n"
                                 "[.htm]\n<viewer>\n>%S=Opera\n%end\n"));
    CheckEnvironment environment;
    environment.ownFolder = dir.path();
    environment.windows = true;
    CheckOutput output;
    EXPECT_EQ(runCheck({"open", "--tsv", "http://h/a.html"}, environment, output), checkOk);
    const std::string start =
        "start\t" + viewer + "\thttp://h/a.html\t" + dir.path() + "prog dir" + sep + "\tif-no-browser-takes\n";
    EXPECT_NE(output.out.find("@decision\tstart\nhandover\t\thttp://h/a.html\t" + viewer +
                              "\noffer\tIExplore\thttp://h/a.html\noffer\tFirefox\thttp://h/a.html\n" + start),
              std::string::npos) << output.out;

    CheckOutput named;
    runCheck({"open", "--tsv", "http://h/a.htm"}, environment, named);
    EXPECT_NE(named.out.find("handover\tOpera\thttp://h/a.htm\t" + viewer + "\noffer\tOpera\thttp://h/a.htm\n"),
              std::string::npos) << named.out;
}

}  // namespace

namespace {

// Several URLs: the report names the URLs that stay unopened, and they are
// exactly those Tavrin's own start leaves alone.
TEST_F(CheckOpen, NamesTheUrlsLeftUnopened) {
    struct Case {
        const char* name;
        std::string ini;
        bool secondOpened;
        const char* why;  // the reason's start, empty when all are opened
    };
    const std::vector<Case> cases = {
        {"a program without sub-commands", "[.html]\n<viewer>\n%end\n", false, "  (the program that starts at once"},
        {"one > sub-command", "[.html]\n<viewer>\n>-a %L\n%end\n", false, "  (the program that starts at once"},
        {"one ] sub-command", "[.html]\n<viewer>\n]-a %L\n%end\n", true, ""},
        {"one > sub-command with %M", "[.html]\n<viewer>\n>-a %M\n%end\n", true, ""},
        {"a download", "[.html]\n<viewer>\n*<dir>>\"%P\"\n%end\n", false, "  (the program that starts at once"},
        {"no block: the system", "[.txt]\n<viewer>\n%end\n", false, "  (the system opens the first URL only)"},
        {"a menu", "[.html]\n<viewer>\n%end\n[all]\n<editor>\n%end\n", false, ""},
    };
    const std::vector<std::string> urls = {"http://h/1.html", "http://h/two.html"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("Tavrin.ini", fill(c.ini));
        const Did did = real(urls, false);
        bool secondStarted = false;
        for (const std::string& s : did.starts) secondStarted = secondStarted || s.find("two.html") != std::string::npos;
        for (const std::string& s : did.downloads) secondStarted = secondStarted || s.find("two.html") != std::string::npos;
        if (did.menus == 0) {
            EXPECT_EQ(secondStarted, c.secondOpened);
        }

        CheckOutput text, tsv;
        check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), urls[0], urls[1]}, text);
        check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), urls[0], urls[1]}, tsv);
        const bool named = text.out.find("not opened: URL 2 http://h/two.html\n" + std::string(c.why)) != std::string::npos;
        EXPECT_EQ(named, *c.why != '\0') << text.out;
        const std::string tsvWhy = std::string(c.why).find("system") != std::string::npos ? "system-first" : "first-only";
        EXPECT_EQ(tsv.out.find("@unopened\t2\thttp://h/two.html\t" + tsvWhy + "\n") != std::string::npos,
                  *c.why != '\0') << tsv.out;
        if (did.menus == 1) {
            EXPECT_NE(text.out.find("2 URLs: a plain choice runs a program or > item for URL 1 only"), std::string::npos)
                << text.out;
        }
    }
}

// The menu as Tavrin shows it: a program with one sub-command is one item
// "Name *" that runs it, one with several a submenu, a group a submenu
// filled when it opens, marks as separators and columns, keys by "&", the
// title item last.
TEST_F(CheckOpen, ShowsTheMenuAsTavrinShowsIt) {
    dir.write("Tavrin.ini", fill("[.html]\n<viewer> | &View\n>-v %L\n<editor> | &Edit\n>-a %L | &All\n"
                                 "]-e %L | Each\n+\n{&More\n<viewer> | Inner\n}\n-\n<editor> | Last && least\n%end\n"));
    CheckOutput output;
    EXPECT_EQ(check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, output), checkOk);
    const std::string want =
        "menu (as Tavrin shows it; [key] is the key that chooses an item):\n"
        "  View *  [key V]\n"
        "      program " + viewer + ", its one sub-command >-v %L\n"
        "      chosen: start: \"" + viewer + "\" -v http://h/a.html  (in " + dir.path() + "prog dir" + sep + ")\n"
        "  Edit  (submenu)  [key E]\n"
        "      program " + editor + "\n"
        "      All  [key A]\n"
        "          >-a %L\n"
        "          chosen: start: \"" + editor + "\" -a http://h/a.html  (in " + dir.path() + ")\n"
        "      Each\n"
        "          ]-e %L: once for every URL\n"
        "          chosen: start: \"" + editor + "\" -e http://h/a.html  (in " + dir.path() + ")\n"
        "  ----------\n"
        "  More  (submenu)  [key M]\n"
        "      group &More\n"
        "      Inner\n"
        "          program " + viewer + ": it gets the URL\n"
        "          chosen: start: \"" + viewer + "\" http://h/a.html  (in " + dir.path() + "prog dir" + sep + ")\n"
        "  (a new column begins here)\n"
        "  Last & least\n"
        "      program " + editor + ": it gets the URL\n"
        "      chosen: start: \"" + editor + "\" http://h/a.html  (in " + dir.path() + ")\n"
        "  ----------\n"
        "  http://h/a.html ( 0 )  [key 0]\n"
        "      the title item: the URL itself\n"
        "      chosen: open by the system: http://h/a.html\n"
        "decision: show the menu (4 programs)\n";
    EXPECT_NE(output.out.find(want), std::string::npos) << output.out;

    // The same rows for scripts, one line each.
    CheckOutput tsv;
    check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, tsv);
    for (const std::string& line : std::vector<std::string>{
         "@item\t1001\t0\titem\tView *\tV\tprogram " + viewer + ", its one sub-command >-v %L\n",
          "@chosen\t1001\tstart\t" + viewer + "\t-v http://h/a.html\t" + dir.path() + "prog dir" + sep + "\t\n",
          "@item\t1002\t0\tsubmenu\tEdit\tE\tprogram " + editor + "\n",
          "@item\t1004\t1\titem\tEach\t\t]-e %L: once for every URL\n", std::string("@item\t1005\t0\tseparator\n"),
          "@item\t1010\t0\tcolumn-item\tLast & least\t\tprogram " + editor + ": it gets the URL\n",
          std::string("@item\t1250\t0\ttitle\thttp://h/a.html ( 0 )\t0\tthe title item: the URL itself\n"),
          std::string("@chosen\t1250\topen\thttp://h/a.html\n")})
        EXPECT_NE(tsv.out.find(line), std::string::npos) << line << tsv.out;

    // Without the mark and with icons, as the settings ask.
    dir.write("Tavrin.ini", fill("[system]\n@mark=0\n@icon\n%end\n[.html]\n<viewer> | View\n>-v %L\n<editor>\n%end\n"));
    CheckOutput plain;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, plain);
    EXPECT_NE(plain.out.find("\n  View\n      program "), std::string::npos) << plain.out;
}

TEST_F(CheckOpen, TellsWhyKeyBlocksAndFiles) {
    struct Case {
        std::string ini;
        std::vector<std::string> words;
        std::string said;
        std::string tsv;  // the same in the tab-separated form
    };
    const std::string html = "[.html]\n<viewer>\n%end\n";
    const std::string page = dir.write("page.html", "<a href=\"http://h/x.html\">x</a>");
    for (const Case& c : std::vector<Case>{
             {"[.jp]\n<viewer>\n%end\n", {"mailto:a@example.jp"}, "key: [.jp] (the extension of a@example.jp, the URL's path)\n",
              "@key\t[.jp]\textension\ta@example.jp\n"},
             {"[blank]\n<viewer>\n%end\n", {"http://h/dir/"}, "key: [blank] (the URL's path /dir/ has no extension)\n",
              "@key\t[blank]\tblank\t/dir/\n"},
             {"[host:*.example]\n<viewer>\n%end\n", {"http://www.example/a.html"},
              "key: [host:*.example] (the first host block naming the host www.example)\n",
              "@key\t[host:*.example]\thost\twww.example\n@block\t1\t[host:*.example]\t1\t0\n"},
             {"[.txt]#\n<viewer>\n%end\n[all]\n<editor>\n%end\n", {"http://h/a.txt"},
              "[all]: not added ([.txt]# on line 1 is exclusive: its header ends in #)\n",
              "@all\tnot-added\texclusive\t[.txt]#\t1\n"},
             {"[.txt]#\n<dir>gone.exe\n%end\n[.*]\n<viewer>\n%end\n[all]\n<editor>\n%end\n", {"http://h/a.txt"},
              "[all]: not added ([.txt]# on line 1 is exclusive: its header ends in #)\n",
              "@key-not-used\t[.txt]\t1\n@all\tnot-added\texclusive\t[.txt]#\t1\n"},
             {html + "[all]\n<editor>\n%end\n", {"http://h/a.html"}, "block: [all]  line 4: 1 program\n[all]: added (line 4)\n",
              "@block\t4\t[all]\t1\t0\n@all\tadded\t4\n"},
             {html, {"http://h/a.pdf"}, "  the file has no block [.pdf]\n", "@key-missing\t[.pdf]\n"},
             {"[.txt]\n<viewer> | View\n>-v %L\n%end\n", {"http://h/a.txt"},
              "the program: View = " + viewer + "\n  its sub-command: >-v %L\n",
              "@program\tView\t" + viewer + "\n@program-sub\t>\t\t-v %L\n"},
             {html, {page}, "file: " + page + "\n", "@file\t" + page + "\t\n"},
             {html, {"http://h/a.html", "--shift"},
              "Shift was held, but @ext2= names no other file: the associations come from the settings file\n",
              "@alternate\t" + dir.file("Tavrin.ini") + "\n"},
             {"[system]\n@ext2=second.ini\n%end\n" + html, {"http://h/a.html", "--shift"},
              "associations read from: " + dir.file("second.ini") + " (the @ext2= file, as Shift was held)\n",
              "@alternate\t" + dir.file("second.ini") + "\n"},
             {html, {"/#c"}, "the check tool cannot read the clipboard or the browser", "@not-read\tclipboard\n"},
             {html, {"/#d=Firefox"}, "the check tool cannot read the clipboard or the browser", "@not-read\tbrowser\n"},
             {html, {"nothing"}, "nothing was recognised as a URL\n", "@no-url\n"},
             {html, {"http://h/" + std::string(300, 'a') + ".html"},
              "too long to open (a URL holds at most 259 characters): http://h/aaaaaaaaaa", "@too-long\t259\t1\thttp://h/aaa"},
             {html, {std::string(900, 'x') + "http://h/" + std::string(200, 'b')},
              "runs into the text around it and is too long to open (a word between blanks holds at most 1039 characters)",
              "@too-long\t1039\t1\thttp://h/bbb"},
         }) {
        SCOPED_TRACE(c.said);
        dir.write("Tavrin.ini", fill(c.ini));
        dir.write("second.ini", fill(html));
        std::vector<std::string> args{"--ini", dir.file("Tavrin.ini")};
        args.insert(args.end(), c.words.begin(), c.words.end());
        CheckOutput output, tsv;
        std::vector<std::string> text = {"open", "--lang", "en"}, tab = {"open", "--tsv"};
        text.insert(text.end(), args.begin(), args.end());
        tab.insert(tab.end(), args.begin(), args.end());
        check(text, output);
        check(tab, tsv);
        EXPECT_NE(output.out.find(c.said), std::string::npos) << output.out;
        EXPECT_NE(tsv.out.find(c.tsv), std::string::npos) << tsv.out;
    }
    // "(@ext2=)" only when the file is another one.
    dir.write("Tavrin.ini", fill(html));
    CheckOutput plain;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, plain);
    EXPECT_EQ(plain.out.find("@ext2="), std::string::npos) << plain.out;
}

TEST_F(CheckOpen, SaysWhenTheStartAfterAHandOverHappens) {
    const std::string after = "[.html]\n<viewer>\n>%S\n%end\n";
    struct Case {
        bool windows;
        bool bridge;
        std::string system;
        std::string said;
    };
    for (const Case& c : std::vector<Case>{
             {false, false, "[system]\n@dde=Firefox\n%end\n", "only if no browser takes it: start: \""},
             {false, false, "", "@dde= names no browser, so none is asked: start: \""},
             {true, false, "[system]\n@dde=Firefox\n%end\n", "with no tvDDE.dll beside Tavrin no browser is asked, so: start: \""},
             {true, true, "[system]\n@dde=Firefox\n%end\n", "only if no browser takes it: start: \""},
         }) {
        SCOPED_TRACE(c.said);
        TempDir own;
        dir.write("Tavrin.ini", fill(c.system + after));
        // The library beside Tavrin: in the settings file's folder.
        if (c.bridge) dir.write("tvDDE.dll", "MZ");
        else fs::remove(dir.file("tvDDE.dll"));
        CheckEnvironment environment;
        environment.ownFolder = own.path();
        environment.windows = c.windows;
        CheckOutput output;
        EXPECT_EQ(runCheck({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, environment,
                           output),
                  checkOk);
        EXPECT_NE(output.out.find("\n  " + c.said + viewer + "\" http://h/a.html"), std::string::npos) << output.out;
    }
}

TEST_F(CheckOpen, ShowsBoxesWithTheirMeaningAndTheWholeCommandLine) {
    dir.write("Tavrin.ini", fill("[.html]\n<viewer>\n>%M\n%end\n"));
    CheckOutput output;
    check({"open", "--lang", "en", "--ini", dir.file("Tavrin.ini"), "http://h/" + std::string(300, 'a') + ".html"},
          output);
    EXPECT_NE(output.out.find("  message box [注意] 次のURLは長すぎるため開けません。開けるURLは259文字までです。"),
              std::string::npos) << output.out;
    EXPECT_NE(output.out.find("  (caution: the following URL is too long to open; URLs of up to 259 characters can be opened)"),
              std::string::npos) << output.out;

    std::vector<std::string> words{"open", "--lang", "en", "--ini", dir.file("Tavrin.ini")};
    std::string line;
    for (int i = 0; i < 40; ++i) {
        const std::string url = "http://h/page" + std::to_string(i) + ".html";
        words.push_back(url);
        line += (line.empty() ? "" : " ") + url;
    }
    CheckOutput many;
    check(words, many);
    EXPECT_NE(many.out.find("Tavrin's command line: " + line + "\n"), std::string::npos) << many.out;
}

// A program named without a folder is looked for in the settings file's
// folder, whatever the current folder is, and %ins_Url% is that folder.
TEST_F(CheckOpen, NamesWithoutAFolderAreTheSettingsFolders) {
    dir.write("tool.exe", "MZ");
    dir.write("Tavrin.ini", "[system]\n@param\n%end\n[.html]\ntool | Tool\n>%ins_Url%\n%end\n");
    const fs::path before = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    CheckOutput output;
    check({"open", "--tsv", "--ini", dir.file("Tavrin.ini"), "http://h/a.html"}, output);
    fs::current_path(before);
    std::string folder = dir.path();
    folder.pop_back();
    EXPECT_NE(output.out.find("\nstart\t" + dir.file("tool.exe") + "\t" + folder + "\t"), std::string::npos)
        << output.out;
}

}  // namespace
