// "doctor": a registry in each state a user meets (never registered,
// registered but not chosen, chosen where Windows 11 records it while the
// older key is stale, a moved folder, another copy), and the files Tavrin
// needs beside it; the exit status and what each line names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "check/check.h"
#include "tests/support/check_state.h"
#include "tests/support/fake_system_view.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string urlChoice = "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";

class Doctor : public ::testing::Test {
protected:
    SavedTavrinState saved;
    TempDir dir;
    FakeSystemView system;
    std::string exe = dir.write("Tavrin.exe", "MZ");

    void SetUp() override {
        system.own = dir.path();
        dir.write("Tavrin.ini", "[.html]\r\n" + exe + "\r\n%end\r\n");
        // Without a choice of the user, Windows' own program has http.
        system.setValue(RegistryRoot::classesRoot, RegistryView::own, "http\\shell\\open\\command", "",
                        "\"" + dir.write("other.exe", "MZ") + "\" \"%1\"");
    }

    void set(const std::string& key, const std::string& name, const std::string& data) {
        system.setValue(RegistryRoot::currentUser, RegistryView::own, key, name, data);
    }

    // What register.cmd writes, pointing at `program`.
    void registerAt(const std::string& program, bool withMailtoAndShortcut = true) {
        const std::string client = "Software\\Clients\\StartMenuInternet\\Tavrin";
        set("Software\\Classes\\TavrinURL", "", "Tavrin URL");
        set("Software\\Classes\\TavrinURL", "URL Protocol", "");
        set("Software\\Classes\\TavrinURL\\shell\\open\\command", "", "\"" + program + "\" \"%1\"");
        set(client + "\\shell\\open\\command", "", "\"" + program + "\"");
        set(client + "\\Capabilities\\URLAssociations", "http", "TavrinURL");
        set(client + "\\Capabilities\\URLAssociations", "https", "TavrinURL");
        set("Software\\RegisteredApplications", "Tavrin", client + "\\Capabilities");
        if (!withMailtoAndShortcut) return;
        set(client + "\\Capabilities\\URLAssociations", "mailto", "TavrinURL");
        set(client + "\\Capabilities\\FileAssociations", ".url", "TavrinShortcut");
        set("Software\\Classes\\TavrinShortcut\\shell\\open\\command", "", "\"" + program + "\" \"%1\"");
    }

    void choose(const std::string& scheme, const std::string& where, const std::string& progId) {
        set(urlChoice + scheme + "\\" + where, "ProgId", progId);
    }

    // The lines of --tsv whose tag is `area`, each "item|health|fields".
    int run(std::string& out, std::vector<std::string> extra = {}) {
        CheckEnvironment e;
        e.ownFolder = dir.path();
        e.system = &system;
        CheckOutput output;
        std::vector<std::string> words = {"doctor", "--tsv"};
        words.insert(words.end(), extra.begin(), extra.end());
        const int status = runCheck(words, e, output);
        out = output.out + output.err;
        return status;
    }
    std::vector<std::string> lines(const std::string& out, const std::string& area) {
        std::vector<std::string> got;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            if (line.compare(0, area.size() + 2, "@" + area + "\t") != 0) continue;
            line = line.substr(area.size() + 2);
            for (char& c : line)
                if (c == '\t') c = '|';
            got.push_back(line);
        }
        return got;
    }
};

TEST_F(Doctor, EachStateOfTheRegistration) {
    const std::string old = dir.path() + "old" + dir.path().back() + "Tavrin.exe";
    const std::string copy = dir.write("copy.exe", "MZ");
    const std::string other = dir.path() + "other.exe";
    const struct {
        const char* what;
        std::function<void()> arrange;
        int status;
        std::vector<std::string> registration;  // a few lines that must be there
        std::vector<std::string> choices;
    } cases[] = {
        {"never registered", [] {}, checkFindings,
         {"HKCU\\Software\\Classes\\TavrinURL|problem|missing"}, {}},
        {"registered, Windows' own program still has http",
         [&] { registerAt(exe); }, checkFindings,
         {"HKCU\\Software\\Classes\\TavrinURL\\shell\\open\\command|ok|here|" + exe},
         {"http|problem|other|http|none|" + other, "https|problem|none|https|none|",
          "mailto|note|none|mailto|none|", ".url|note|none||none|",
          "change|note|ms-settings:defaultapps?registeredAppUser=Tavrin"}},
        {"chosen in UserChoiceLatest's ProgId key; the older UserChoice is stale",
         [&] {
             registerAt(exe);
             for (const char* s : {"http", "https", "mailto"}) {
                 choose(s, "UserChoice", "ChromeHTML");
                 choose(s, "UserChoiceLatest\\ProgId", "TavrinURL");
             }
             set("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.url\\UserChoice", "ProgId",
                 "TavrinShortcut");
         },
         checkOk, {},
         {"http|ok|tavrin|TavrinURL|UserChoiceLatest|" + exe, "https|ok|tavrin|TavrinURL|UserChoiceLatest|" + exe,
          "mailto|ok|tavrin|TavrinURL|UserChoiceLatest|" + exe, ".url|ok|tavrin|TavrinShortcut|UserChoice|" + exe}},
        {"chosen in UserChoiceLatest itself; mailto left to the mail program, an old registration without .url",
         [&] {
             registerAt(exe, false);
             choose("http", "UserChoiceLatest", "TavrinURL");
             choose("https", "UserChoice", "TavrinURL");
         },
         checkOk,
         {"HKCU\\Software\\Clients\\StartMenuInternet\\Tavrin\\Capabilities\\URLAssociations mailto|note|missing"},
         {"http|ok|tavrin|TavrinURL|UserChoiceLatest|" + exe, "https|ok|tavrin|TavrinURL|UserChoice|" + exe}},
        {"the folder was moved: every command names the old path",
         [&] {
             registerAt(old);
             choose("http", "UserChoice", "TavrinURL");
             choose("https", "UserChoice", "TavrinURL");
         },
         checkFindings,
         {"HKCU\\Software\\Classes\\TavrinURL\\shell\\open\\command|problem|stale|" + old,
          "HKCU\\Software\\Clients\\StartMenuInternet\\Tavrin\\shell\\open\\command|problem|stale|" + old,
          "HKCU\\Software\\Classes\\TavrinShortcut\\shell\\open\\command|note|stale|" + old},
         {"http|problem|missing|TavrinURL|UserChoice|" + old, "https|problem|missing|TavrinURL|UserChoice|" + old,
          "mailto|note|none|mailto|none|", ".url|note|none||none|",
          "change|note|ms-settings:defaultapps?registeredAppUser=Tavrin"}},
        {"another copy registered", [&] { registerAt(copy); }, checkFindings,
         {"HKCU\\Software\\Classes\\TavrinURL\\shell\\open\\command|problem|other|" + copy}, {}},
    };
    for (const auto& c : cases) {
        for (const char* key : {"Software\\Classes", "Software\\Clients", "Software\\RegisteredApplications",
                                "Software\\Microsoft"})
            system.removeKey(RegistryRoot::currentUser, RegistryView::own, key);
        c.arrange();
        std::string out;
        EXPECT_EQ(run(out), c.status) << c.what << "\n" << out;
        const std::vector<std::string> registration = lines(out, "registration");
        for (const std::string& want : c.registration)
            EXPECT_NE(std::find(registration.begin(), registration.end(), want), registration.end())
                << c.what << ": " << want << "\n" << out;
        if (!c.choices.empty()) {
            EXPECT_EQ(lines(out, "choice"), c.choices) << c.what;
        }
    }
}

TEST_F(Doctor, TheFilesTavrinNeeds) {
    registerAt(exe);
    choose("http", "UserChoice", "TavrinURL");
    choose("https", "UserChoice", "TavrinURL");
    std::string out;
    ASSERT_EQ(run(out), checkOk) << out;
    EXPECT_EQ(lines(out, "settings"), std::vector<std::string>{dir.file("Tavrin.ini") + "|ok|0|0|" + dir.file("Tavrin.ini")});
    EXPECT_EQ(lines(out, "library"), (std::vector<std::string>{"nkf32.dll|note|missing", "tvDDE.dll|note|missing"}));
    EXPECT_EQ(lines(out, "temp"), std::vector<std::string>{dir.file("temp") + "|ok|creatable"});
    EXPECT_EQ(lines(out, "result"), std::vector<std::string>{"0|5"});

    // Libraries beside it; a temporary folder there.
    dir.write("nkf32.dll", "MZ");
    dir.write("tvDDE.dll", "MZ");
    dir.mkdir("temp");
    ASSERT_EQ(run(out), checkOk) << out;
    EXPECT_EQ(lines(out, "library"), (std::vector<std::string>{"nkf32.dll|ok|present", "tvDDE.dll|ok|present"}));
    EXPECT_EQ(lines(out, "temp"), std::vector<std::string>{dir.file("temp") + "|ok|writable"});

    // Problems in the settings file count; notes do not.
    dir.write("Tavrin.ini", "[.html]\r\n" + exe + "\r\n%end");
    EXPECT_EQ(run(out), checkOk) << out;
    dir.write("Tavrin.ini", "[.html]\r\nC:\\nowhere\\viewer.exe\r\n%end\r\n");
    EXPECT_EQ(run(out), checkFindings) << out;
    EXPECT_EQ(lines(out, "settings"), std::vector<std::string>{dir.file("Tavrin.ini") + "|problem|1|0|" + dir.file("Tavrin.ini")});
    std::filesystem::remove(dir.file("Tavrin.ini"));
    EXPECT_EQ(run(out), checkFindings);
    EXPECT_EQ(lines(out, "settings"), std::vector<std::string>{"Tavrin.ini|problem|unreadable"});

    // --ini names the folder whose Tavrin.exe is in question.
    TempDir elsewhere;
    const std::string ini = elsewhere.write("Tavrin.ini", "");
    EXPECT_EQ(run(out, {"--ini", ini}), checkFindings);
    EXPECT_EQ(lines(out, "tavrin"), std::vector<std::string>{"Tavrin.exe|problem|" + elsewhere.file("Tavrin.exe")});
}

TEST_F(Doctor, TheWordsSayWhatToDo) {
    registerAt(dir.path() + "gone" + dir.path().back() + "Tavrin.exe");
    CheckEnvironment e;
    e.ownFolder = dir.path();
    e.system = &system;
    CheckOutput output;
    EXPECT_EQ(runCheck({"doctor", "--lang", "en"}, e, output), checkFindings);
    for (const char* shown :
         {"registration (register.cmd):\n", "which is no longer there (if the folder was moved or deleted, run register.cmd here again)",
          "  problem: http: ", "  note: to change it: run start ms-settings:defaultapps?registeredAppUser=Tavrin",
          "4 problems, 6 notes: mend the problems above\n"})
        EXPECT_NE(output.out.find(shown), std::string::npos) << shown << "\n" << output.out;
    // Without a registry only the files are checked.
    system.registry = false;
    output = CheckOutput{};
    runCheck({"doctor", "--lang", "en"}, e, output);
    EXPECT_NE(output.out.find("this system has no registry"), std::string::npos) << output.out;
}

}  // namespace
