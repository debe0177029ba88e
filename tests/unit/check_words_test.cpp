// The check tool's own words: usage errors that name the word at fault in
// the language asked for wherever it stands, counts, text made safe for a
// terminal, Tavrin's boxes in English, and why a file cannot be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/box_texts.h"
#include "check/check.h"
#include "check/messages.h"
#include "check/tool_setup.h"
#include "tests/support/check_state.h"
#include "tests/support/temp_dir.h"

namespace {

struct UsageCase {
    std::vector<std::string> words;
    std::string said;  // the first line of the error
};

TEST(CheckUsage, NamesTheWordAtFaultInTheLanguageAskedFor) {
    SavedTavrinState saved;
    TempDir dir;
    CheckEnvironment environment;
    environment.ownFolder = dir.path();
    const std::vector<UsageCase> cases = {
        {{"lint", "extra", "--lang", "en"}, "lint takes no other words: extra"},
        {{"--lang", "en", "open"}, "open needs at least one URL"},
        {{"lint", "--base", "x", "--lang", "en"}, "--base does not apply to lint (it applies to links)"},
        {{"open", "--json", "x", "--lang=en"}, "--json does not apply to open (it applies to links)"},
        {{"links", "--shift", "page.html", "--lang=en"}, "--shift does not apply to links (it applies to open)"},
        {{"links", "a", "b", "--lang", "en"}, "links takes one file or folder (given: 2)"},
        {{"open", "--ini", "--lang", "en", "x"}, "--ini needs a value (--ini FILE)"},
        {{"open", "x", "--lang", "en", "--base"}, "--base needs a value (--base URL)"},
        {{"open", "x", "--lang", "en", "--from"}, "--from needs a value (--from NAME)"},
        {{"links", "x", "--lang", "en", "--from", "a.exe"}, "--from does not apply to links (it applies to open)"},
        {{"open", "--tsv=1", "x", "--lang", "en"}, "--tsv takes no value: --tsv=1"},
        {{"open", "--bogus", "x", "--lang", "en"}, "unknown option: --bogus"},
        {{"frob", "--lang", "en"}, "unknown command: frob (the commands are lint, open, links, browsers and doctor)"},
        {{"--lang", "en"}, "no command given (lint, open, links, browsers or doctor)"},
        {{"links", "x", "--tsv", "--json", "--lang", "en"}, "give --tsv or --json, not both"},
        {{"lint", "--utf8", "--raw", "--lang", "en"}, "give --raw or --utf8, not both"},
        {{"lint", "--utf8=1", "--lang", "en"}, "--utf8 takes no value: --utf8=1"},
        {{"browsers", "chrome", "--lang", "en"}, "browsers takes no other words: chrome"},
        {{"doctor", "--json", "--lang", "en"}, "--json does not apply to doctor (it applies to links)"},
        {{"lint", "--tsv", "--lang", "en"}, "--tsv does not apply to lint (it applies to open, links, browsers, doctor)"},
        // Without --lang, or with one it does not know, Japanese.
        {{"lint", "--lang", "fr"}, "--lang は ja か en です: fr"},
        {{"lint", "extra"}, "lint はほかの語を取りません: extra"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.said);
        CheckOutput output;
        EXPECT_EQ(runCheck(c.words, environment, output), checkUsage);
        EXPECT_EQ(output.err.substr(0, output.err.find('\n')), c.said);
        EXPECT_NE(output.err.find("tavrin-check --help"), std::string::npos) << output.err;
        EXPECT_TRUE(output.out.empty());
    }
}

TEST(CheckUsage, HelpAndWordsThatLookLikeOptions) {
    SavedTavrinState saved;
    TempDir dir;
    CheckEnvironment environment;
    environment.ownFolder = dir.path();
    CheckOutput help;
    EXPECT_EQ(runCheck({"open", "--help", "--lang", "en"}, environment, help), checkOk);
    EXPECT_NE(help.out.find("is a console program"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("no rows (links)"), std::string::npos) << help.out;
    environment.windows = true;
    CheckOutput windows;
    runCheck({"--help", "--utf8", "--lang", "en"}, environment, windows);
    EXPECT_NE(windows.out.find("TavrinCheck.exe links FILE"), std::string::npos) << windows.out;
    // How the Windows build writes: wide to a console, code page 932 or
    // with --utf8 UTF-8 elsewhere; the option reaches the entry point.
    EXPECT_NE(windows.out.find("or UTF-8 with --utf8"), std::string::npos) << windows.out;
    EXPECT_TRUE(windows.utf8);
    EXPECT_NE(help.out.find("--utf8 is the default here"), std::string::npos) << help.out;
    // After "--" a word is a URL whatever it looks like: the settings
    // file, missing here, is the next thing the tool asks for.
    CheckOutput url;
    EXPECT_EQ(runCheck({"open", "--lang", "en", "--", "--weird"}, environment, url), checkUsage);
    EXPECT_EQ(url.err.rfind("settings file not found: ", 0), 0u) << url.err;
}

TEST(CheckWords, CountsQuotesAndPrintableText) {
    const Text one{"問題 {1} 件", "{1} problem"};
    const Text many{"問題 {1} 件", "{1} problems"};
    EXPECT_EQ(counted(Language::english, 1, one, many), "1 problem");
    EXPECT_EQ(counted(Language::english, 0, one, many), "0 problems");
    EXPECT_EQ(counted(Language::english, 2, one, many), "2 problems");
    EXPECT_EQ(counted(Language::japanese, 1, one, many), "問題 1 件");
    EXPECT_EQ(quoted(Language::english, "notepad "), "\"notepad \"");
    EXPECT_EQ(quoted(Language::japanese, "notepad "), "「notepad 」");
    struct Case {
        std::string in, out;
    };
    for (const Case& c : std::vector<Case>{
             {"plain", "plain"},
             {"esc\x1b[2Jx", "esc^[[2Jx"},
             {std::string("nul\0x", 5), "nul^@x"},
             {"tab\tbell\x07" "del\x7f", "tab^Ibell^Gdel^?"},
             // A double-byte character whose second byte is below 0x80 stays whole.
             {"表示\x81\x40", "表示\x81\x40"},
         })
        EXPECT_EQ(printable(c.in), c.out);
}

TEST(CheckWords, TavrinsBoxesInEnglish) {
    struct Case {
        std::string caption, text, english;
    };
    for (const Case& c : std::vector<Case>{
             {"注意", "次のURLは長すぎるため開けません。開けるURLは259文字までです。\r\n\r\nhttp://h/aaa",
              "caution: the following URL is too long to open; URLs of up to 259 characters can be opened"},
             {"注意", "次のURLは前後の文字とつながって長すぎるため開けません。\r\nx",
              "caution: the following URL runs into the text around it and is too long to open; a word "
              "between blanks holds at most 1039 characters"},
             {"エラー", "設定ファイル異常", "error: settings file error: the settings file cannot be opened"},
             {"オープンエラー", "ダウンロード失敗", "open error: download failed"},
             {"URL専用「ネルカモ」", "タイムアウトにより、すべて終了します。",
              "time-out: time-out: the server sent nothing for too long"},
             {"注意", "something else", "caution"},
         })
        EXPECT_EQ(boxInEnglish(c.caption, c.text), c.english) << c.text;
}

TEST(CheckWords, WhyAFileCannotBeRead) {
    TempDir dir;
    CheckEnvironment environment;
    dir.mkdir("folder.ini");
    dir.write("big.html", "0123456789");
    dir.write("small.html", "0");
    EXPECT_EQ(unreadableReason(environment, Language::english, dir.file("folder.ini"), 100), "a folder, not a file");
    EXPECT_EQ(unreadableReason(environment, Language::english, dir.file("gone.html"), 100), "it does not exist");
    EXPECT_EQ(unreadableReason(environment, Language::english, dir.file("big.html"), 3),
              "larger than 3 bytes: 10 bytes");
    EXPECT_EQ(unreadableReason(environment, Language::english, dir.file("small.html"), 3),
              "held by another program, or not allowed to be read");

    // The settings file the tool cannot read says which.
    SavedTavrinState saved;
    CheckOutput output;
    environment.ownFolder = dir.path();
    EXPECT_EQ(runCheck({"lint", "--lang", "en", "--ini", dir.file("folder.ini")}, environment, output), checkUsage);
    EXPECT_EQ(output.err, "cannot read the settings file (a folder, not a file): " + dir.file("folder.ini") + "\n");
}

}  // namespace
