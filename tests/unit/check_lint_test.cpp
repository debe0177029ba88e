// The lint rules of the check tool, group by group: each case is a settings
// file as a user writes it and the exact findings (line, rule) it must give,
// no more and no fewer. Programs named <viewer>, <editor> exist; <folder>
// is a folder; <missing> does not exist.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <random>
#include <set>

#include "check/lint.h"
#include "check/lint_context.h"
#include "check/options.h"
#include "settings/settings_text.h"
#include "tests/support/check_state.h"
#include "tests/support/temp_dir.h"

namespace {

using R = LintRule;
using Found = std::vector<std::pair<int, LintRule>>;

struct Case {
    const char* name;
    std::string ini;  // lines end with "\n" unless the case says otherwise
    Found expected;
};

class Lint : public ::testing::Test {
protected:
    SavedTavrinState saved;
    TempDir dir;
    std::string viewer = dir.write("viewer.exe", "MZ");
    std::string editor = dir.write("editor.exe", "MZ");
    std::string folder = dir.mkdir("folder.exe");
    std::string downloads = dir.mkdir("dl");
    std::string tool = (dir.mkdir("tools"), dir.write("tools" + std::string(1, dir.path().back()) + "tool.exe", "MZ"));

    std::string fill(std::string text) const {
        const std::pair<const char*, std::string> marks[] = {
            {"<viewer>", viewer}, {"<editor>", editor}, {"<folder>", folder},
            {"<missing>", dir.file("gone" + std::string(1, dir.path().back()) + "missing.exe")},
            {"<dir>", dir.path()},
        };
        for (const auto& [mark, value] : marks)
            for (std::size_t at; (at = text.find(mark)) != std::string::npos;)
                text.replace(at, std::string(mark).size(), value);
        return text;
    }

    LintResult lint(const std::string& ini) {
        const std::string path = dir.write("Tavrin.ini", fill(ini));
        CheckOptions options;
        options.ini = path;
        options.iniGiven = true;
        SettingsFile file;
        std::string error;
        EXPECT_TRUE(readSettingsFile(options, CheckEnvironment{}, file, error)) << error;
        return lintSettingsFile(file, CheckEnvironment{});
    }

    Found found(const std::string& ini) {
        Found out;
        for (const Finding& f : lint(ini).findings) out.emplace_back(f.line, f.rule);
        return out;
    }

    void run(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(found(c.ini), c.expected);
        }
    }
};

TEST_F(Lint, WholeFile) {
    run({
        {"clean", "[.html]\n<viewer>\n%end\n", {}},
        {"byte-order mark", "\xEF\xBB\xBF[.html]\n<viewer>\n%end\n", {{1, R::byteOrderMark}}},
        // Tavrin sees one line: a header with text behind it.
        {"CR line ends only", "[.html]\r<viewer>\r%end\r",
         {{1, R::crOnlyLineEnds}, {1, R::lastLineWithoutBreak}, {1, R::textAfterHeader},
          {1, R::missingEndAtFileEnd}}},
        {"NUL byte hides what follows", std::string("[.txt]\n<viewer>\n%end\n\0x\n[.html]\n<viewer>\n%end\n", 46),
         {{4, R::nulByte}, {5, R::headerAfterNul}}},
        {"control byte", "[.html]\n<viewer>\x01\n%end\n", {{2, R::controlByte}, {2, R::programNotFound}}},
        {"last line without a line break is only a note", "[.html]\n<viewer>\n%end",
         {{3, R::lastLineWithoutBreak}}},
        {"line longer than 517", "[.html]\n<viewer> | " + std::string(520, 'c') + "\n%end\n",
         {{2, R::lineTooLong}, {2, R::valueCut}}},
        {"long comment lines are no problem", "; " + std::string(600, 'c') + "\n", {}},
        {"TAB joining two words", "[.html]\n<viewer>\t | V\n<vie\twer>\n%end\n",
         {{3, R::tabJoins}, {3, R::programNotFound}}},
    });
}

TEST_F(Lint, Headers) {
    run({
        {"a key twice", "[.html]\n<viewer>\n%end\n[.HTML]\n<editor>\n%end\n", {{4, R::duplicateHeader}}},
        {"a key first inside another line", "[.txt]\n<dir>[.html]\\x.exe\n%end\n[.html]\n<viewer>\n%end\n",
         {{2, R::programNotFound}, {4, R::shadowedHeader}}},
        {"a key in a comment line does not count", "; the [.html] block\n[.html]\n<viewer>\n%end\n", {}},
        {"a key that is no extension", "[html]\n<viewer>\n%end\n", {{1, R::unknownKey}}},
        {"a key of two extensions", "[.tar.gz]\n<viewer>\n%end\n", {{1, R::compoundExtension}}},
        {"words after the header", "[.html] viewer\n<viewer>\n%end\n", {{1, R::textAfterHeader}}},
        {"blanks after the exclusive mark", "[.txt]# \n<viewer>\n%end\n", {{1, R::exclusiveMarkNotLast}}},
        {"the exclusive mark last", "[.txt]#\n<viewer>\n%end\n", {}},
        {"no %end before the next block", "[.html]\n<viewer>\n[.txt]\n<editor>\n%end\n", {{1, R::missingEnd}}},
        {"no %end at the end of the file", "[.html]\n<viewer>\n", {{1, R::missingEndAtFileEnd}}},
        {"no ]", "[.html\n<viewer>\n", {{1, R::headerWithoutClose}}},
        // 0x81 0x5B is one character ("ー"): its second byte is no "[".
        {"a [ that is half of a character", "\x81[.html]\n[.html]\n<viewer>\n%end\n", {}},
        {"system without %end", "[system]\n@icon\n[.html]\n<viewer>\n%end\n", {{1, R::missingEnd}}},
    });
}

TEST_F(Lint, HostBlocks) {
    run({
        {"clean", "[host:a.example;*.b.example]#\n<viewer>\n%end\n[host:c.example:8080]\n<editor>\n%end\n", {}},
        {"no host pattern", "[host:http://a.example/]\n<viewer>\n%end\n",
         {{1, R::hostPatternMalformed}, {1, R::hostBlockNamesNoHost}}},
        {"one bad pattern among good ones", "[host:a.example;www.*.b.example]\n<viewer>\n%end\n",
         {{1, R::hostPatternMalformed}}},
        {"an empty pattern", "[host:a.example;;b.example;]\n<viewer>\n%end\n", {{1, R::hostPatternEmpty}}},
        {"no pattern at all", "[host: ; ]\n<viewer>\n%end\n", {{1, R::hostBlockNamesNoHost}}},
        {"the same host again", "[host:a.example]\n<viewer>\n%end\n[host:A.Example:80]\n<editor>\n%end\n",
         {{4, R::hostBlockShadowed}}},
        {"hosts an earlier wildcard takes",
         "[host:*.example]\n<viewer>\n%end\n[host:www.a.example;*.b.example]\n<editor>\n%end\n",
         {{4, R::hostBlockShadowed}}},
        {"some hosts taken earlier",
         "[host:*.a.example]\n<viewer>\n%end\n[host:www.a.example;b.example]\n<editor>\n%end\n",
         {{4, R::hostPatternShadowed}}},
        {"the domain's hosts after the domain alone",
         "[host:a.example]\n<viewer>\n%end\n[host:*.a.example]\n<editor>\n%end\n", {}},
        {"a header in a comment takes nothing",
         "; [host:a.example] for the player\n[host:a.example]\n<viewer>\n%end\n", {}},
        {"a header without ]", "[host:a.example\n<viewer>\n%end\n", {{1, R::headerWithoutClose}}},
    });
}

TEST_F(Lint, SourceBlocks) {
    run({
        {"clean", "[from:outlook.exe;*teams*]#\n<viewer>\n%end\n[from:C:\\Mail\\*]\n<editor>\n%end\n", {}},
        {"a slash and a colon", "[from:mail/er.exe;m:x.exe]\n<viewer>\n%end\n",
         {{1, R::sourcePatternMalformed}, {1, R::sourcePatternMalformed}, {1, R::sourceBlockNamesNoProgram}}},
        {"a folder", "[from:C:\\Mail\\;x.exe]\n<viewer>\n%end\n", {{1, R::sourcePatternMalformed}}},
        {"no extension", "[from:outlook]\n<viewer>\n%end\n", {{1, R::sourcePatternWithoutExtension}}},
        {"an empty pattern", "[from:a.exe;;]\n<viewer>\n%end\n", {{1, R::sourcePatternEmpty}}},
        {"the same program again", "[from:a.exe]\n<viewer>\n%end\n[from:A.EXE]\n<editor>\n%end\n",
         {{4, R::sourceBlockShadowed}}},
        {"a path an earlier name takes",
         "[from:a.exe]\n<viewer>\n%end\n[from:C:\\x\\a.exe;b.exe]\n<editor>\n%end\n",
         {{4, R::sourcePatternShadowed}}},
        {"everything after a star", "[from:*]\n<viewer>\n%end\n[from:b.exe]\n<editor>\n%end\n",
         {{4, R::sourceBlockShadowed}}},
        {"a source and a host block of one name",
         "[from:a.example]\n<viewer>\n%end\n[host:a.example]\n<editor>\n%end\n", {}},
        {"a header without ]", "[from:a.exe\n<viewer>\n%end\n", {{1, R::headerWithoutClose}}},
    });
}

TEST_F(Lint, SystemOptions) {
    run({
        {"known options", "[system]\n@icon\n@dlm=, \n@dist=300,600\n@dde=IExplore;Firefox\n%end\n", {}},
        {"unknown option", "[system]\n@icons\n@mark\n%end\n", {{3, R::unknownOption}}},
        {"a known option with a value it does not take", "[system]\n@mark=1\n@temp=yes\n@ACTIVE=0\n%end\n",
         {{2, R::optionValueUnknown}, {3, R::optionValueUnknown}, {4, R::optionValueUnknown}}},
        {"not an option", "[system]\ndlm= | \n%end\n", {{2, R::notAnOption}}},
        {"value too short", "[system]\n@dlm=|\n%end\n", {{2, R::optionTooShort}}},
        {"stray > line", "[system]\n>-o %L\n%end\n", {{2, R::strayParameterLine}}},
        {"loader line after a comment", "[system]\n@loader=<viewer>\n; its parameters\n>-o %L\n%end\n", {}},
        {"blank line ends the filter run", "[system]\n@filter\n>.jpg;.png\n\n>.zip\n%end\n",
         {{5, R::strayParameterLine}}},
        {"an eleventh filter group", "[system]\n@filter\n>.a\n>.b\n>.c\n>.d\n>.e\n>.f\n>.g\n>.h\n>.i\n>.j\n%end\n",
         {{12, R::filterBeyondTenth}}},
        {"long filter item", "[system]\n@filter\n>.abcdefghijk;.b\n%end\n", {{3, R::valueCut}}},
        {"separator over 31", "[system]\n@dlm=" + std::string(32, '|') + "\n%end\n", {{2, R::valueCut}}},
        {"eleven @search= items",
         "[system]\n@search=.a;.b;.c;.d;.e;.f;.g;.h;.i;.j;.k\n%end\n", {{2, R::tooManyItems}}},
        {"@search= items", "[system]\n@search=html;.htm; .php\n%end\n",
         {{2, R::itemWithoutDot}, {2, R::blankInList}}},
        {"@len= out of range", "[system]\n@len=2\n%end\n", {{2, R::numberIgnored}}},
        {"@dist= out of range", "[system]\n@dist=0,20000\n%end\n", {{2, R::numberIgnored}, {2, R::numberIgnored}}},
        {"@timeout= zero", "[system]\n@timeout=0,1\n%end\n", {{2, R::numberIgnored}}},
        {"@menu= not understood", "[system]\n@menu=top\n%end\n", {{2, R::menuValueIgnored}}},
        {"@menu= at x,y", "[system]\n@menu=100,200\n%end\n", {}},
        {"@scheme= naming none", "[system]\n@scheme=gopher\n%end\n", {{2, R::schemeNamesNone}}},
        {"@ext2= missing", "[system]\n@ext2=other.ini\n%end\n", {{2, R::alternateFileMissing}}},
        {"@path= folder missing", "[system]\n@path=<dir>;<dir>nowhere\n%end\n", {{2, R::searchFolderMissing}}},
        {"@editor= missing", "[system]\n@editor=<missing>\n%end\n", {{2, R::editorNotFound}}},
        // (A program beside the settings file is found anyway: that folder
        // stands for Tavrin's.)
        {"@editor= before its @path=", "[system]\n@editor=tool\n@path=<dir>tools\n%end\n",
         {{2, R::editorFoundOnlyLater}}},
        {"@editor= after its @path=", "[system]\n@path=<dir>tools\n@editor=tool\n%end\n", {}},
        {"@editor= beside the settings file", "[system]\n@editor=viewer\n%end\n", {}},
        {"@loader= missing", "[system]\n@loader=<missing>\n%end\n", {{2, R::loaderNotFound}}},
    });
}

TEST_F(Lint, CleaningOptions) {
    std::string many;
    for (int i = 0; i < 65; ++i) many += "n" + std::to_string(i) + ";";
    run({
        {"well-formed", "[system]\n@unwrap\n@unwrap=https://l.example.com/out?url=;*.r.example/go/*?u\n"
                        "@strip=default;ref*, sid\n%end\n", {}},
        {"malformed entries", "[system]\n@unwrap=l.example.com?u;l.example.com/out;x/o*t?u;ok.example/?u\n%end\n",
         {{2, R::unwrapEntryMalformed}, {2, R::unwrapEntryMalformed}, {2, R::unwrapEntryMalformed}}},
        {"malformed names", "[system]\n@strip=u*m;a=b;fbclid\n%end\n",
         {{2, R::stripNameMalformed}, {2, R::stripNameMalformed}}},
        {"every parameter", "[system]\n@strip=*\n%end\n", {{2, R::stripEverything}}},
        {"names add up over lines", "[system]\n@strip=x\n@strip=" + many + "\n%end\n", {{3, R::tooManyItems}}},
        {"@strip without '='", "[system]\n@strip fbclid\n%end\n", {{2, R::unknownOption}}},
        {"a '!' program line is looked up without its mark",
         "[system]\n@strip=default\n%end\n[.html]\n! <viewer> | As given\n!<missing>\n%end\n",
         {{6, R::programNotFound}}},
        {"a '!' line without cleaning", "[.html]\n!<viewer>\n%end\n", {{2, R::givenMarkWithoutCleaning}}},
    });
}

TEST_F(Lint, Parameters) {
    run({
        {"parameters", "[system]\n@param\n%dl% | <dir>\n%end\n[.html]\n<viewer>\n>%dl%\\%K\n%end\n", {}},
        {"a commented @param is no @param", "[system]\n;@param\n%dl% | x\n%end\n",
         {{3, R::notAnOption}}},
        // The pairs are sought after line 2; %a% is never defined, and its
        // line is read as an option.
        {"the first @param of the file counts",
         "[.x]\n<viewer> | has @param\n%end\n[system]\n@param\n%a% | 1\n%end\n",
         {{5, R::parameterElsewhere}, {6, R::notAnOption}}},
        {"eleven parameters",
         "[system]\n@param\n%a% | 1\n%b% | 2\n%c% | 3\n%d% | 4\n%e% | 5\n%f% | 6\n%g% | 7\n%h% | 8\n"
         "%i% | 9\n%j% | 10\n%k% | 11\n%end\n",
         {{13, R::tooManyParameters}, {13, R::notAnOption}}},
        {"name without percent signs", "[system]\n@param\ndl | x\n%end\n", {{3, R::parameterNameWithoutPercent}}},
        {"name over 19", "[system]\n@param\n%abcdefghijklmnopqrs% | x\n%end\n", {{3, R::valueCut}}},
    });
}

TEST_F(Lint, Placeholders) {
    run({
        {"a user placeholder without @param", "[.html]\n<viewer>\n>%dl%\\%K\n%end\n",
         {{3, R::placeholderWithoutParam}}},
        {"a folder placeholder without @param", "[.html]\n<viewer>\n>%Desktop%\\%K\n%end\n",
         {{3, R::placeholderWithoutParam}}},
        {"an unknown placeholder with @param", "[system]\n@param\n%dl% | x\n%end\n[.html]\n<viewer>\n>%dk%\\%K\n%end\n",
         {{7, R::unknownPlaceholder}}},
        {"URL placeholders and escapes are no names", "[.html]\n<viewer>\n>%L %-J %K%M a%20b %E3%81%82\n%end\n", {}},
        {"dates are known with @param", "[system]\n@param\n%end\n[.html]\n<viewer>\n>%4y%-%0m%-%dd% %L\n%end\n", {}},
    });
}

TEST_F(Lint, AssociationLines) {
    run({
        {"program missing", "[.html]\n<missing>\n%end\n", {{2, R::programNotFound}}},
        {"program found without .exe and by caption", "[.html]\n" + std::string("<dir>viewer | View") + "\n%end\n", {}},
        {"folder", "[.html]\n<folder>\n%end\n", {{2, R::programIsFolder}}},
        {"@system is always taken", "[.html]\n@system | Open\n%end\n", {}},
        {"sub-command first", "[.html]\n>%L\n<viewer>\n%end\n", {{2, R::subCommandWithoutProgram}}},
        {"sub-commands of a missing program", "[.html]\n<missing>\n>%L\n]%L\n%end\n",
         {{2, R::programNotFound}, {3, R::subCommandsOfMissingProgram}}},
        {"sub-commands after a missing program go to the one before",
         "[.html]\n<viewer>\n<missing>\n>%L\n%end\n",
         {{3, R::programNotFound}, {4, R::subCommandOfEarlierProgram}}},
        {"sub-command after a group opens", "[.html]\n<viewer>\n{More\n>%L\n}\n%end\n",
         {{4, R::subCommandWithoutProgram}}},
        {"} without {", "[.html]\n<viewer>\n}\n%end\n", {{3, R::closeWithoutOpen}}},
        {"{ without caption", "[.html]\n{\n<viewer>\n%end\n", {{2, R::groupWithoutCaption}}},
        {"group not closed", "[.html]\n{More\n<viewer>\n%end\n", {{2, R::groupNotClosed}}},
        {"mark before any program", "[.html]\n+\n<viewer>\n-\n%end\n", {{2, R::markReadAsProgram}}},
        {"marks in [all] may come first", "[all]\n+\n<viewer>\n%end\n", {}},
        {"# line without @loader=", "[.html]\n<viewer>\n#<dir>dl>%P | Get\n%end\n", {{3, R::loaderLineWithoutLoader}}},
        {"* line whose > is in the caption", "[.html]\n<viewer>\n*<dir>dl | a>b\n%end\n",
         {{3, R::downloadSplitAfterSeparator}}},
        {"* line into a missing folder", "[.html]\n<viewer>\n*<dir>nowhere>\"%P\" | Get\n%end\n",
         {{3, R::downloadFolderMissing}}},
        {"* line with neither", "[.html]\n<viewer>\n*\n%end\n", {}},
        {"nothing before the separator", "[system]\n@dlm=, \n%end\n[.html]\n, caption\n%end\n",
         {{5, R::noProgramBeforeSeparator}}},
        {"caption over 259", "[.html]\n<viewer> | " + std::string(260, 'c') + "\n%end\n", {{2, R::valueCut}}},
    });
}

TEST_F(Lint, RowLimit) {
    std::string ini = "[.html]\n";
    for (int i = 0; i < 205; ++i) ini += "<viewer> | V" + std::to_string(i) + "\n";
    ini += "%end\n";
    EXPECT_EQ(found(ini), (Found{{202, R::tooManyRows}}));
}

TEST_F(Lint, ListBlock) {
    run({
        {"list programs", "[list]\n<viewer> | V\n>-x\n<editor>\n", {}},
        {"missing list program", "[list]\n<missing>\n", {{2, R::listProgramNotFound}}},
        {"> line first", "[list]\n>-x\n<viewer>\n", {{2, R::listParameterWithoutProgram}}},
        {"list before a block", "[list]\n<viewer>\n[.html]\n<editor>\n%end\n", {{1, R::listRunsOn}}},
        {"eleven list programs",
         "[list]\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n<viewer>\n"
         "<viewer>\n<editor>\n",
         {{12, R::tooManyListPrograms}}},
    });
}

TEST_F(Lint, CountsAndCap) {
    // Every line a problem: the count goes on beyond the stored findings.
    std::string ini = "[.html]\n";
    for (int i = 0; i < 1500; ++i) ini += "<missing>\n";
    ini += "%end\n";
    const LintResult r = lint(ini);
    EXPECT_EQ(r.problems, 1500);
    EXPECT_EQ(r.findings.size(), maxStoredFindings);
}

// The one walk that finds every header key's first occurrence must agree
// with the loader's own search on any text: keys of any case, occurrences
// inside lines, on comment lines, after half characters and NUL bytes.
TEST(LintKeySearch, AgreesWithTheLoadersSearch) {
    std::mt19937 random(12345);
    const std::vector<std::string> pieces = {"[.html]", "[.HTML]", "[all]", "[.*]", "[a]", "[", "]", ".", "a",
                                             " ", "\n", "; ", "\n;", "\x81", "\x81[", "\x82\x5b", "\t", "\r",
                                             std::string(1, '\0'), "x"};
    const std::set<std::string> keys = {"[.html]", "[.HTML]", "[all]", "[.*]", "[a]", "[\x81[]"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int n = static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i) text += pieces[random() % pieces.size()];
        LintContext c(text);
        const std::map<std::string, std::size_t> first = firstKeyOccurrences(c, keys);
        for (const std::string& key : keys)
            ASSERT_EQ(first.at(key), findSettingsKey(text, key)) << "key " << key << " in " << testing::PrintToString(text);
    }
}

TEST(LintTexts, EveryRuleSpeaksBothLanguages) {
    for (int i = 0; i <= static_cast<int>(LintRule::lastLintRule); ++i) {
        Finding f{1, static_cast<LintRule>(i), {"A", "B", "C"}};
        const std::string ja = findingText(f, Language::japanese);
        const std::string en = findingText(f, Language::english);
        EXPECT_FALSE(ja.empty()) << i;
        EXPECT_FALSE(en.empty()) << i;
        EXPECT_NE(ja, en) << i;
        for (const std::string& text : {ja, en})
            for (char n = '1'; n <= '9'; ++n) EXPECT_EQ(text.find({'{', n, '}'}), std::string::npos) << text;
    }
}

}  // namespace

namespace {

TEST_F(Lint, SeparatorsAndTheirLookAlikes) {
    run({
        {"a separator that lost its last blank", "[system]\n@dlm= |\n%end\n", {{2, R::separatorBlanks}}},
        {"a separator of a comma and a blank", "[system]\n@dlm=, \n%end\n", {}},
        {"a separator of its own", "[system]\n@dlm= | \n%end\n", {}},
        {"a | without its blanks", "[.html]\n<viewer> |Viewer\n<viewer>| V\n%end\n",
         {{2, R::programNotFound}, {2, R::separatorLookalike}, {3, R::programNotFound}, {3, R::separatorLookalike}}},
        {"the same in [list]", "[list]\n<viewer>|V\n", {{2, R::listProgramNotFound}, {2, R::separatorLookalike}}},
        {"a program not found without a |", "[.html]\n<missing>\n%end\n", {{2, R::programNotFound}}},
    });
}

// What the findings say: the option as known and the value as wrong, what
// a value means, the real rule, counts as written, names in quotes.
TEST_F(Lint, FindingsSpeakPlainly) {
    struct Case {
        std::string ini;
        std::string english;
        std::string japanese;
    };
    const std::string ten = ">.a\n>.b\n>.c\n>.d\n>.e\n>.f\n>.g\n>.h\n>.i\n";
    for (const Case& c : std::vector<Case>{
             {"[system]\n@mark=2\n%end\n",
              "@mark= takes only 0 (@mark=0 leaves out the \" *\" after a program with one sub-command); @mark=2 is ignored",
              "@mark= は 0 だけを取ります"},
             {"[system]\n@temp=yes\n%end\n",
              "@temp= takes only del (@temp=del empties the temp folder at every start); @temp=yes is ignored", ""},
             {"[system]\n@dist=20000\n%end\n", "the @dist= value 20000 means no pause (a pause is 1 to 10000 ms)",
              "@dist= の値 20000 は待ち時間なしになります"},
             {"[system]\n@len=2\n%end\n", "the @len= value 2 means no limit (a length is 3 to 254 characters)", ""},
             {"[system]\n@dlm=|\n%end\n", "@dlm= needs a value of at least 2 characters: this line is ignored",
              "@dlm= の値は 2 文字以上必要です"},
             {"[system]\n@filter\n" + ten + ">.j\n%end\n",
              "@filter keeps 9 groups of your own (10 with the built-in .*): this one, your 10th, is ignored",
              "10 個目のこのグループは無視されます"},
             {"[.html]\nnotepad \n%end\n", "program not found (looked for as written, with .exe, in @path=, on the "
                                            "search path): \"notepad \"",
              "「notepad 」"},
             {"[.html]\nnotepad |Notepad\n%end\n",
              "the separator between a program and its caption is \" | \": the | in \"notepad |Notepad\" does not "
              "separate them",
              ""},
         }) {
        SCOPED_TRACE(c.english);
        const LintResult r = lint(c.ini);
        std::string english, japanese;
        for (const Finding& f : r.findings) {
            english += findingText(f, Language::english) + "\n";
            japanese += findingText(f, Language::japanese) + "\n";
        }
        EXPECT_NE(english.find(c.english + "\n"), std::string::npos) << english;
        EXPECT_NE(japanese.find(c.japanese), std::string::npos) << japanese;
    }
}

TEST_F(Lint, ReportSummaryCountsInWords) {
    struct Case {
        std::string ini;
        std::string summary;
    };
    for (const Case& c : std::vector<Case>{
             {"[.html]\n<viewer>\n%end\n", "0 problems, 0 notes\n"},
             {"[.html]\n<missing>\n%end", "1 problem, 1 note\n"},
             {"[.html]\n<missing>\n<missing>\n%end\n[system]\n@dist=0\n@len=1\n%end\n", "2 problems, 2 notes\n"},
         }) {
        const std::string path = dir.write("Tavrin.ini", fill(c.ini));
        CheckOptions options;
        options.ini = path;
        options.iniGiven = true;
        options.language = Language::english;
        CheckOutput output;
        runLintCommand(options, CheckEnvironment{}, output);
        EXPECT_EQ(output.out.substr(output.out.rfind('\n', output.out.size() - 2) + 1), c.summary) << output.out;
    }
}

// A file that is no text gives a few findings and then says so once, and
// nothing of it reaches the terminal as a control character.
TEST_F(Lint, AFileThatIsNoTextIsToldOnce) {
    std::string bytes;
    for (int line = 0; line < 400; ++line) {
        for (int b = 0; b < 40; ++b) bytes += static_cast<char>((line * 7 + b * 13) % 256);
        bytes += '\n';
    }
    const std::string path = dir.write("Tavrin.ini", bytes);
    CheckOptions options;
    options.ini = path;
    options.iniGiven = true;
    options.language = Language::english;
    CheckOutput output;
    EXPECT_EQ(runLintCommand(options, CheckEnvironment{}, output), checkFindings);
    std::size_t lines = 0;
    for (char c : output.out) {
        lines += c == '\n';
        EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) << static_cast<int>(c);
    }
    EXPECT_EQ(lines, 7u) << output.out;  // five findings, the one that says it, the summary
    EXPECT_NE(output.out.find(": problem: not a text file (control characters on "), std::string::npos) << output.out;
    // One line with a control character is a finding of its own, no more.
    EXPECT_EQ(found("[.html]\n<viewer>\x01\n%end\n"), (Found{{2, R::controlByte}, {2, R::programNotFound}}));
}

}  // namespace
