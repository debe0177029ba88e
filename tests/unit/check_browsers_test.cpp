// "browsers": the Local State and profiles.ini readers on fixtures of
// several browsers and on broken files; the browsers found in a registry
// and folders made by the test; the lines written for them, which lint
// finds nothing in and whose dry run offers one item per profile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "check/browser_find.h"
#include "check/browser_fragment.h"
#include "check/browsers_command.h"
#include "check/check.h"
#include "check/local_state.h"
#include "check/profiles_ini.h"
#include "tests/support/check_state.h"
#include "tests/support/fake_system_view.h"
#include "tests/support/temp_dir.h"

namespace {

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(TAVRIN_BROWSERS_DIR) + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string profilesOf(const LocalStateProfiles& read) {
    std::string out;
    for (const ChromiumProfile& p : read.profiles) out += p.folder + "=" + p.name + ";";
    return out;
}

struct LocalStateCase {
    const char* what;
    std::string json;
    std::string profiles;  // "folder=name;" in order
    bool complete;
};

TEST(LocalState, ProfilesOfEachBrowserAndOfBrokenFiles) {
    const LocalStateCase cases[] = {
        {"Chrome, one profile", fixture("chrome-one.json"), "Default=Person 1;", true},
        {"Edge, order of profiles_order, names from the next field, nested names not taken",
         fixture("edge-many.json"), u8"Profile 1=Work;Default=個人;Profile 4=School;Profile 2=Shortcut name;", true},
        {"Brave, quotes, escapes, Japanese, a number for a name", fixture("brave-names.json"),
         u8"Default=Q \"quoted\" \\ back & amp;Profile 1=日本語の名前;Profile 2=Café 😀 ①;"
         "Profile 3=tab\there\nand new line;Profile 4=;../escape=out of the folder;Profile 5=100%L done;",
         true},
        {"Vivaldi, cut short in the second profile", fixture("vivaldi-truncated.json"), "Default=First;", false},
        {"Opera, an empty folder name", fixture("opera-stable.json"), "", true},
        {"missing", "", "", false},
        {"no object", "[1, 2]", "", true},
        {"not JSON", "<html>", "", false},
        {"a later member of the same name stands",
         R"({"profile":{"info_cache":{"A":{"name":"one"},"B":{"name":"b"},"A":{"name":"two"}}}})", "A=two;B=b;", true},
        {"info_cache elsewhere", R"({"x":{"profile":{"info_cache":{"A":{"name":"a"}}}}})", "", true},
        {"trailing junk", R"({"profile":{"info_cache":{"A":{"name":"a"}}}} junk)", "A=a;", false},
        {"a broken UTF-8 byte in a later string", "{\"profile\":{\"info_cache\":{\"A\":{\"name\":\"a\"},\"B\":{\"name\":\"\xff\"}}}}",
         "A=a;", false},
    };
    for (const LocalStateCase& c : cases) {
        const LocalStateProfiles read = readLocalState(c.json);
        EXPECT_EQ(profilesOf(read), c.profiles) << c.what;
        EXPECT_EQ(read.complete, c.complete) << c.what;
    }
}

TEST(LocalState, HugeAndHostileFilesAreBounded) {
    // Deep nesting costs a counter, not the stack.
    EXPECT_TRUE(readLocalState(std::string(200000, '[')).profiles.empty());
    // Tens of megabytes of other members, then the profiles.
    std::string huge = R"({"other":[)";
    for (int i = 0; i < 400000; ++i) huge += R"({"k":"vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv","n":12345},)";
    huge += R"(0],"profile":{"info_cache":{)";
    for (int i = 0; i < 300; ++i) huge += (i ? "," : "") + ("\"Profile " + std::to_string(i) + R"(":{"name":"P"})");
    huge += "}}}";
    ASSERT_GT(huge.size(), 20u << 20);
    const LocalStateProfiles read = readLocalState(huge);
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.profiles.size(), maxLocalStateProfiles);
    EXPECT_TRUE(read.more);
    // A name of a megabyte is no profile's name.
    const LocalStateProfiles longName =
        readLocalState(R"({"profile":{"info_cache":{"A":{"name":")" + std::string(1 << 20, 'x') + R"("}}}})");
    ASSERT_EQ(longName.profiles.size(), 1u);
    EXPECT_EQ(longName.profiles[0].name, "");
}

std::string profilesOf(const ProfilesIni& read) {
    std::string out;
    for (const FirefoxProfile& p : read.profiles)
        out += p.name + "=" + p.path + (p.relative ? "" : " (absolute)") + (p.isDefault ? " (default)" : "") + ";";
    return out;
}

TEST(ProfilesIni, ReadAsFirefoxReadsIt) {
    const struct {
        const char* what;
        std::string text;
        std::string profiles;
    } cases[] = {
        {"the install's default", fixture("profiles-install.ini"),
         "default-release=Profiles/abcd1234.default-release (default);default=Profiles/efgh5678.default;"
         "Work=Profiles/wxyz9876.Work;"},
        {"BOM, CR LF, blanks, Default=1, a profile without Path, a gap", fixture("profiles-legacy.ini"),
         "Main=C:\\Profiles\\main (absolute) (default);main=Profiles/second;Third=Profiles/third;"},
        {"no IsRelative ends the list", "[Profile0]\nName=a\nPath=x\n[Profile1]\nName=b\nIsRelative=1\nPath=y\n", ""},
        {"empty", "", ""},
        {"a repeated key keeps its first value", "[Profile0]\nName=a\nName=b\nIsRelative=1\nPath=p\n", "a=p;"},
        {"junk", std::string("\0\xff[[[=\n]=[Profile0\n", 20), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(profilesOf(readProfilesIni(c.text)), c.profiles) << c.what;
}

// A scratch folder standing for a Windows user's machine.
class Browsers : public ::testing::Test {
protected:
    SavedTavrinState saved;
    TempDir dir;
    FakeSystemView system;
    const char sep = dir.path().back();

    std::string path(std::string relative) const {
        for (char& c : relative)
            if (c == '\\') c = sep;
        return dir.path() + relative;
    }
    std::string file(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
        std::ofstream(path(relative), std::ios::binary) << bytes;
        return path(relative);
    }
    std::string folder(const std::string& relative) const {
        std::filesystem::create_directories(path(relative));
        return path(relative);
    }
    void browser(RegistryRoot root, RegistryView view, const std::string& key, const std::string& name,
                 const std::string& command) {
        const std::string k = "Software\\Clients\\StartMenuInternet\\" + key;
        if (!name.empty()) system.setValue(root, view, k, "", name);
        system.setValue(root, view, k + "\\shell\\open\\command", "", command);
    }

    void SetUp() override {
        system.folders["LOCALAPPDATA"] = folder("Local") + sep;
        system.folders["APPDATA"] = folder("Roaming") + sep;
        system.own = dir.path();
        // Chrome for this user: its user data beside its program.
        const std::string chrome = file("Local\\Google\\Chrome\\Application\\chrome.exe", "MZ");
        file("Local\\Google\\Chrome\\User Data\\Local State", fixture("chrome-one.json"));
        folder("Local\\Google\\Chrome\\User Data\\Default");
        browser(RegistryRoot::currentUser, RegistryView::own, "Google Chrome", "Google Chrome", "\"" + chrome + "\"");
        // Edge for the machine, its user data under LOCALAPPDATA; one
        // profile deleted. The 32-bit view lists Chrome again.
        const std::string edge = file("Program Files\\Microsoft\\Edge\\Application\\msedge.exe", "MZ");
        file("Local\\Microsoft\\Edge\\User Data\\Local State", fixture("edge-many.json"));
        for (const char* p : {"Default", "Profile 1", "Profile 4"}) folder(std::string("Local\\Microsoft\\Edge\\User Data\\") + p);
        browser(RegistryRoot::localMachine, RegistryView::sixtyFour, "Microsoft Edge", "Microsoft Edge",
                "\"" + edge + "\" --single-argument %1");
        browser(RegistryRoot::localMachine, RegistryView::thirtyTwo, "Google Chrome", "Google Chrome (32)", chrome);
        // Firefox unquoted, with blanks in its path; two profiles of one
        // name (one of them gone), one of its own.
        const std::string firefox = file("Program Files\\Mozilla Firefox\\firefox.exe", "MZ");
        file("Roaming\\Mozilla\\Firefox\\profiles.ini", fixture("profiles-legacy.ini"));
        folder("Roaming\\Mozilla\\Firefox\\Profiles\\second");
        folder("Roaming\\Mozilla\\Firefox\\Profiles\\third");
        browser(RegistryRoot::localMachine, RegistryView::thirtyTwo, "FIREFOX.EXE", "", firefox + " -osint -url %1");
        // A browser removed without its key, and Tavrin itself.
        browser(RegistryRoot::localMachine, RegistryView::sixtyFour, "Old", "Old Browser", path("Gone\\old.exe"));
        browser(RegistryRoot::currentUser, RegistryView::own, "Tavrin", "Tavrin", "\"" + path("Tavrin.exe") + "\"");
        // Vivaldi installed for this user but not registered; its Local
        // State cut short.
        file("Local\\Vivaldi\\Application\\vivaldi.exe", "MZ");
        file("Local\\Vivaldi\\User Data\\Local State", fixture("vivaldi-truncated.json"));
        folder("Local\\Vivaldi\\User Data\\Default");
    }

    CheckEnvironment environment() {
        CheckEnvironment e;
        e.ownFolder = dir.path();
        e.system = &system;
        return e;
    }
    int run(std::vector<std::string> words, std::string& out) {
        CheckOutput output;
        const int status = runCheck(words, environment(), output);
        out = output.out + output.err;
        return status;
    }
};

std::string browserSummary(const FoundBrowser& b) {
    std::ostringstream out;
    out << b.name << (b.registered ? "" : " (unregistered)") << (b.programExists ? "" : " (missing)") << ": "
        << (b.family ? b.family->name : "-") << ", store " << static_cast<int>(b.storeState) << ",";
    for (const BrowserProfileEntry& p : b.profiles) out << " " << p.folder.substr(p.folder.find_last_of("\\/") + 1);
    out << " /";
    for (const BrowserProfileEntry& p : b.missingProfiles) out << " " << p.name;
    return out.str();
}

TEST_F(Browsers, RegistryFirstThenInstallPlacesEachWithItsProfiles) {
    const std::vector<FoundBrowser> found = findBrowsers(system);
    std::vector<std::string> got;
    for (const FoundBrowser& b : found) got.push_back(browserSummary(b));
    const std::vector<std::string> want = {
        "Google Chrome: Google Chrome, store 5, Default /",
        "Microsoft Edge: Microsoft Edge, store 5, Profile 1 Default Profile 4 / Shortcut name",
        "Old Browser (missing): -, store 0, /",
        "FIREFOX.EXE: Mozilla Firefox, store 5, second third / Main",
        "Vivaldi (unregistered): Vivaldi, store 4, Default /",
    };
    EXPECT_EQ(got, want);
    EXPECT_EQ(found[1].source, "HKLM\\Software\\Clients\\StartMenuInternet\\Microsoft Edge");
    EXPECT_EQ(found[3].source, "HKLM (32-bit)\\Software\\Clients\\StartMenuInternet\\FIREFOX.EXE");
}

TEST_F(Browsers, TheLinesPassLintAndOfferEveryProfile) {
    const std::string ini = file("Tavrin.ini", "");
    std::string out;
    ASSERT_EQ(run({"browsers", "--tsv", "--raw", "--lang", "en", "--ini", ini}, out), checkOk) << out;
    std::string lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, 6, "@line\t") == 0) lines += line.substr(6) + "\r\n";
    const std::string chrome = path("Local\\Google\\Chrome\\Application\\chrome.exe");
    const std::string edge = path("Program Files\\Microsoft\\Edge\\Application\\msedge.exe");
    const std::string firefox = path("Program Files\\Mozilla Firefox\\firefox.exe");
    const std::string profiles = path("Roaming\\Mozilla\\Firefox\\Profiles\\");
    EXPECT_EQ(lines,
              "[.*]\r\n"
              "; so that URLs with no block of their own reach the browsers of [all] too\r\n"
              "%end\r\n"
              "[all]\r\n" +
                  chrome + " | Google Chrome\r\n"
                           ">--profile-directory=\"Default\" %L | Person 1\r\n"
                           ">--incognito %L | Incognito window\r\n" +
                  edge + " | Microsoft Edge\r\n"
                         ">--profile-directory=\"Profile 1\" %L | Work\r\n"
                         ">--profile-directory=\"Default\" %L | \x8c\xc2\x90\x6c\r\n"
                         ">--profile-directory=\"Profile 4\" %L | School\r\n"
                         ">-inprivate %L | InPrivate window\r\n" +
                  firefox + " | FIREFOX.EXE\r\n"
                            ">--profile \"" + profiles + "second\" %L | main\r\n"
                            ">-P \"Third\" %L | Third\r\n"
                            ">--private-window %L | Private window\r\n" +
                  path("Local\\Vivaldi\\Application\\vivaldi.exe") + " | Vivaldi\r\n"
                  ">--profile-directory=\"Default\" %L | First\r\n"
                  ">--incognito %L | Private window\r\n"
                  "%end\r\n");
    file("Tavrin.ini", lines);
    ASSERT_EQ(run({"lint", "--lang", "en", "--ini", ini}, out), checkOk);
    EXPECT_EQ(out, "0 problems, 0 notes\n");

    // The dry run: one item per profile, its name as caption, its switch
    // in the command line.
    ASSERT_EQ(run({"open", "http://example.com/", "--tsv", "--ini", ini}, out), checkOk) << out;
    std::vector<std::string> starts;
    std::istringstream items(out);
    std::string caption;
    for (std::string line; std::getline(items, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string x; std::getline(fields, x, '\t');) f.push_back(x);
        if (f[0] == "@item" && f.size() > 4) caption = f[4];
        if (f[0] == "@chosen" && f.size() > 4 && f[2] == "start") starts.push_back(caption + " | " + f[4]);
    }
    const std::vector<std::string> want = {
        "Person 1 | --profile-directory=\"Default\" http://example.com/",
        "Incognito window | --incognito http://example.com/",
        "Work | --profile-directory=\"Profile 1\" http://example.com/",
        "\x8c\xc2\x90\x6c | --profile-directory=\"Default\" http://example.com/",
        "School | --profile-directory=\"Profile 4\" http://example.com/",
        "InPrivate window | -inprivate http://example.com/",
        "main | --profile \"" + profiles + "second\" http://example.com/",
        "Third | -P \"Third\" http://example.com/",
        "Private window | --private-window http://example.com/",
        "First | --profile-directory=\"Default\" http://example.com/",
        "Private window | --incognito http://example.com/",
    };
    EXPECT_EQ(starts, want);
}

TEST_F(Browsers, TheWordsNameWhatIsLeftOutAndWhy) {
    std::string out;
    EXPECT_EQ(run({"browsers", "--lang", "en"}, out), checkOk);
    const std::string gone = std::string("C:") + sep + "Profiles" + sep + "main";
    for (const std::string& shown : std::vector<std::string>{"browser: Old Browser", "  left out: the program file does not exist",
                              "  found at: %LOCALAPPDATA%\\Vivaldi\\Application\\vivaldi.exe (not registered with Windows)",
                              "    left out: Shortcut name: its folder Profile 2 is gone (a deleted profile)",
                              "    left out: Main: its folder " + gone + " is gone (a deleted profile)",
                              "is cut short or broken; the profiles read before that point are used",
                              "note: Firefox profiles whose name is shared",
                              "lines to paste at the end of Tavrin.ini:"})
        EXPECT_NE(out.find(shown), std::string::npos) << shown << "\n" << out;
    // A file with an [all] block takes the lines into it; its separator
    // is the one they are written with.
    const std::string ini = file("Tavrin.ini", "[system]\r\n@dlm=, \r\n%end\r\n[all]\r\n%end\r\n");
    EXPECT_EQ(run({"browsers", "--lang", "en", "--ini", ini}, out), checkOk);
    EXPECT_NE(out.find("lines to put into the [all] block of Tavrin.ini (before its %end):\n" +
                       path("Local\\Google\\Chrome\\Application\\chrome.exe") + ", Google Chrome\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("\n[all]\n"), std::string::npos) << out;
}

TEST_F(Browsers, NothingFound) {
    FakeSystemView empty;
    CheckEnvironment e;
    e.ownFolder = dir.path();
    e.system = &empty;
    CheckOutput output;
    EXPECT_EQ(runCheck({"browsers", "--lang", "en"}, e, output), checkFindings);
    EXPECT_NE(output.out.find("no web browser found"), std::string::npos);
    EXPECT_NE(output.out.find("no lines can be written"), std::string::npos);
}

TEST_F(Browsers, LintSaysWhereAMissingBrowserIs) {
    const std::string ini = file("Tavrin.ini", "[.html]\r\nC:\\Old\\chrome.exe | Chrome\r\nmsedge | Edge\r\n"
                                               "C:\\Old\\viewer.exe\r\n%end\r\n");
    std::string out;
    EXPECT_EQ(run({"lint", "--lang", "en", "--ini", ini}, out), checkFindings);
    EXPECT_NE(out.find(":2: note: chrome.exe is here: " + path("Local\\Google\\Chrome\\Application\\chrome.exe") +
                       " (the program of Google Chrome, as browsers finds it)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(":3: note: msedge.exe is here: " +
                       path("Program Files\\Microsoft\\Edge\\Application\\msedge.exe")),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find(":4: note"), std::string::npos) << out;
}

// The lines of hand-made browsers: what cannot be written as it is.
FoundBrowser made(const std::string& program, const BrowserFamily* family,
                  std::vector<BrowserProfileEntry> profiles) {
    FoundBrowser b;
    b.name = "B";
    b.program = program;
    b.programExists = true;
    b.family = family;
    b.profiles = std::move(profiles);
    return b;
}

std::string itemsOf(const FragmentBrowser& b) {
    std::string out = std::to_string(static_cast<int>(b.leftOut)) + ":";
    for (const FragmentItem& item : b.items)
        out += " [" + item.caption + "|" + item.argument + "|" + std::to_string(static_cast<int>(item.leftOut)) + "]";
    return out;
}

TEST_F(Browsers, NamesAreWrittenSoThatTavrinReadsThemAsMeant) {
    const std::string program = file("P\\chrome.exe", "MZ");
    const BrowserFamily* chrome = familyOfProgram("chrome.exe", "Application");
    const BrowserFamily* firefox = familyOfProgram("FireFox.EXE", "Mozilla Firefox");
    ASSERT_TRUE(chrome && firefox);
    ASSERT_EQ(familyOfProgram("launcher.exe", "Tools"), nullptr);
    ASSERT_NE(familyOfProgram("launcher.exe", "Opera GX"), nullptr);
    const std::string longName(300, 'n');
    system.shortNames[path(u8"P\\Zoë")] = "C:\\P\\ZOE~1";
    const struct {
        const char* what;
        FoundBrowser browser;
        std::string items;
        bool lost;
    } cases[] = {
        {"ampersands doubled, characters the code page lacks as ?, a long caption cut, an odd folder",
         made(program, chrome,
              {{"R&D", "Default", true}, {u8"Zoë 😀 日本", "Profile 1", false}, {longName, "Profile 2", false},
               {"x", "..\\up", false}, {"", "Profile 3", false}}),
         "0: [R&&D|--profile-directory=\"Default\"|0] [Zo? ? \x93\xfa\x96\x7b|--profile-directory=\"Profile 1\"|0] [" +
             std::string(259, 'n') + "|--profile-directory=\"Profile 2\"|0] [x||6] [Profile 3|--profile-directory=\"Profile 3\"|0]"
             " [Incognito window|--incognito|0]",
         true},
        {"Firefox: a shared name, a name a placeholder could take, one the code page lacks, one with a quote",
         made(program, firefox,
              {{"Work", path("work"), false}, {"work", path("work2"), false}, {"100%free", path("p"), false},
               {u8"Zoë", path(u8"P\\Zoë"), false}, {"a\"b", path(u8"P\\Zoë2"), false}, {"Plain Name", path("pn"), false}}),
         "0: [Work|--profile \"" + path("work") + "\"|0] [work|--profile \"" + path("work2") + "\"|0] [100%free|--profile \"" +
             path("p") + "\"|0] [Zo?|--profile \"C:\\P\\ZOE~1\"|0] [a\"b||7] [Plain Name|-P \"Plain Name\"|0]"
             " [Private window|--private-window|0]",
         true},
        {"a path Tavrin cannot name", made(path(u8"Zoë\\chrome.exe"), chrome, {}), "2:", false},
        {"no family: no private window", made(program, nullptr, {}), "0:", false},
    };
    for (const auto& c : cases) {
        const BrowserFragment fragment = buildFragment({c.browser}, system, " | ", Language::english);
        ASSERT_EQ(fragment.browsers.size(), 1u);
        EXPECT_EQ(itemsOf(fragment.browsers[0]), c.items) << c.what;
        EXPECT_EQ(fragment.lostCharacters, c.lost) << c.what;
    }
    // The separator inside a path; a block beyond Tavrin's 200 rows.
    const std::string comma = file("A, B\\chrome.exe", "MZ");
    EXPECT_EQ(buildFragment({made(comma, chrome, {})}, system, ", ", Language::english).browsers[0].leftOut,
              LeftOut::separatorInText);
    std::vector<BrowserProfileEntry> many;
    for (int i = 0; i < 120; ++i) many.push_back({"p", "Profile " + std::to_string(i), false});
    const BrowserFragment full =
        buildFragment({made(program, chrome, many), made(program, chrome, many)}, system, " | ", Language::english);
    EXPECT_EQ(full.browsers[0].leftOut, LeftOut::no);
    EXPECT_EQ(full.browsers[1].leftOut, LeftOut::tooManyRows);
    EXPECT_EQ(full.lines.size(), 1u + 120u + 1u);
}

}  // namespace
