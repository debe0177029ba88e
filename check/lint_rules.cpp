// The reasons of the lint rules, in both languages, and how grave each is:
// a problem changes what Tavrin does against what the line says; a note
// tells of something that works, but perhaps not as meant.
#include <array>

#include "check/lint.h"

namespace {

using R = LintRule;
constexpr Severity P = Severity::problem;
constexpr Severity N = Severity::note;

struct RuleText {
    LintRule rule;
    Severity severity;
    Text text;
};

const RuleText ruleTexts[] = {
    {R::fileTooLarge, P, {"64 MiB を超えるファイルです。Tavrin は先頭の 64 MiB だけを読みます",
                          "the file is larger than 64 MiB; Tavrin reads only its first 64 MiB"}},
    {R::nulByte, P, {"NUL バイトがあります。これより後の見出しやキーは見つかりません",
                     "a NUL byte: no header or key after it is ever found"}},
    {R::controlByte, P, {"制御文字 {1} があります (テキストファイルではないようです)",
                         "control character {1} (this does not look like a text file)"}},
    {R::byteOrderMark, P, {"UTF-8 の BOM があります。設定ファイルは Shift_JIS (CP932) で保存してください",
                           "a UTF-8 byte-order mark: save the settings as Shift_JIS (CP932)"}},
    {R::crOnlyLineEnds, P, {"改行が CR だけです。Tavrin には全体が 1 行に見えます",
                            "line ends are CR only: Tavrin sees the whole file as one line"}},
    {R::lastLineWithoutBreak, N, {"最後の行に改行がありません (それでも読み込まれます)",
                                  "the last line has no line break (it is read all the same)"}},
    {R::lineTooLong, P, {"{1} 文字の行です。518 文字目から後は読まれません",
                         "a line of {1} characters: everything after the 517th is ignored"}},
    {R::tabJoins, N, {"TAB は取り除かれ、前後がつながります: {1}",
                      "TAB characters are removed and join what stands around them: {1}"}},
    {R::notText, P, {"テキストファイルではありません (制御文字のある行が {1} 行)。最初の {2} 件のほかに {3} 件ありますが、示しません",
                     "not a text file (control characters on {1} lines): beyond the first {2} findings, {3} more are left out"}},

    {R::headerWithoutClose, P, {"見出しのようですが ] がありません: {1}",
                                "looks like a block header but has no ]: {1}"}},
    {R::duplicateHeader, P, {"{1} は {2}行目にもあります。Tavrin は最初のものを使うので、このブロックは使われません",
                             "{1} appears before, on line {2}: Tavrin uses the first, so this block is never used"}},
    {R::shadowedHeader, P, {"{1} は {2}行目の途中に先に現れます。Tavrin はそこからブロックを読み、この見出しは使われません",
                            "{1} occurs first inside line {2}: Tavrin reads the block from there and never uses this header"}},
    {R::unknownKey, N, {"{1} を Tavrin が探すことはありません (拡張子のキーはドットで始まります: [.html])",
                        "Tavrin never looks for {1} (extension keys begin with a dot: [.html])"}},
    {R::compoundExtension, P, {"{1} を Tavrin が探すことはありません。キーは最後の拡張子だけです ({2})",
                               "Tavrin never looks for {1}: a key holds the last extension only ({2})"}},
    {R::textAfterHeader, N, {"見出しの後ろの文字は無視されます: {1}",
                             "the text after the header is ignored: {1}"}},
    {R::exclusiveMarkNotLast, P, {"# の後ろに空白があるので排他ブロックになりません (# は行の最後の文字にします)",
                                  "blanks follow the #, so the block is not exclusive (# must be the line's last character)"}},
    {R::headerAfterNul, P, {"{1} は NUL バイトより後にあるので見つかりません",
                            "{1} stands after a NUL byte and is never found"}},
    {R::missingEnd, P, {"{1} に %end がありません。{3}行目の {2} に続けて読まれます",
                        "{1} has no %end: it runs on into {2} on line {3}"}},
    {R::missingEndAtFileEnd, N, {"{1} に %end がありません (ファイルの終わりまで読まれます)",
                                 "{1} has no %end (it runs to the end of the file)"}},

    {R::unknownOption, P, {"知らないオプションです。無視されます: {1}", "unknown option, ignored: {1}"}},
    {R::notAnOption, P, {"オプションの行ではありません。無視されます: {1}",
                         "not an option line, ignored: {1}"}},
    {R::optionTooShort, P, {"{1} の値は {2} 文字以上必要です。この行は無視されます",
                            "{1} needs a value of at least {2} characters: this line is ignored"}},
    {R::strayParameterLine, P, {"この > の行は @loader= にも @filter にも続いていません。無視されます",
                                "this > line follows neither @loader= nor @filter and is ignored"}},
    {R::filterBeyondTenth, P, {"@filter のグループは自分で書いたものを 9 個まで読みます (組み込みの .* と合わせて 10 個)。{1} 個目のこのグループは無視されます",
                               "@filter keeps 9 groups of your own (10 with the built-in .*): this one, your {2}, is ignored"}},
    {R::valueCut, P, {"{1} は {2} 文字までです。切り詰められます: {3}",
                      "{1} keeps at most {2} characters and is cut: {3}"}},
    {R::tooManyItems, P, {"{1} の項目は {2} 個までです。{3} から後は無視されます",
                          "{1} keeps at most {2} items; {3} and the rest are ignored"}},
    {R::itemWithoutDot, N, {"@search= の {1} はドットで始まりません (拡張子はドット付きで書きます: .html)",
                            "the @search= item {1} does not begin with a dot (extensions are written .html)"}},
    {R::blankInList, N, {"{1} の空白は項目の一部になります: {2}",
                         "in {1} a blank becomes part of an item: {2}"}},
    {R::parameterElsewhere, P, {"パラメーターはファイルで最初の @param ({1}行目) の後から読まれ、ここからではありません",
                                "the parameters are read after the file's first @param (line {1}), not after this one"}},
    {R::tooManyParameters, P, {"パラメーターは 10 個までです。この行は読まれません",
                               "at most 10 parameters are read: this line is not"}},
    {R::parameterNameWithoutPercent, N, {"パラメーター名 {1} が % で囲まれていません。値や行の中の {1} はすべて置き換えられます",
                                         "the parameter name {1} is not enclosed in %: every {1} in values and lines is replaced"}},
    {R::editorNotFound, P, {"@editor= のプログラムが見つかりません (そのまま、.exe を付けて、@path= の中、検索パスの順に探します): 「{1}」",
                            "the @editor= program is not found (looked for as written, with .exe, in @path=, on the search path): \"{1}\""}},
    {R::editorFoundOnlyLater, P, {"「{1}」は後の @path= でしか見つかりません。この行の時点では探されません",
                                  "\"{1}\" is found only through the @path= that comes later; this line is looked up before it"}},
    {R::loaderNotFound, P, {"@loader= のプログラムが見つかりません (# の行は失敗します): 「{1}」",
                            "the @loader= program is not found (\"#\" lines will fail): \"{1}\""}},
    {R::alternateFileMissing, P, {"@ext2= のファイルが Tavrin のフォルダーにありません。無視されます: 「{1}」",
                                  "the @ext2= file is not in Tavrin's folder and is ignored: \"{1}\""}},
    {R::searchFolderMissing, N, {"@path= のフォルダーがありません: 「{1}」", "an @path= folder does not exist: \"{1}\""}},
    {R::numberIgnored, N, {"{1} の値 {2} は{3}", "the {1} value {2} means {3}"}},
    {R::menuValueIgnored, N, {"@menu= の値 {1} は読めません。メニューはアクティブウィンドウに出ます",
                              "the @menu= value {1} is not understood: the menu shows at the active window"}},
    {R::schemeNamesNone, N, {"@scheme= が http、ftp、mailto、file のどれも挙げていないので 4 つとも有効になります",
                             "@scheme= names none of http, ftp, mailto, file, so all four stay on"}},
    {R::unwrapEntryMalformed, P, {"@unwrap= の {1} は「ホスト/パス?パラメーター」の形ではありません。無視されます (例: l.example.com/out?url。ホストは名前か *. とドメイン、* はパスの最後にだけ)",
                                  "the @unwrap= entry {1} is not of the form host/path?parameter and is ignored (for example l.example.com/out?url; the host is a name or *. and a domain, a * stands only at the end of the path)"}},
    {R::stripNameMalformed, P, {"@strip= の {1} はパラメーター名になりません。無視されます (* は名前の最後にだけ。= & ? # や空白は使えません)",
                                "the @strip= name {1} is ignored: a * stands only at its end, and a name holds no =, &, ?, # or blank"}},
    {R::stripEverything, N, {"@strip= の * は、すべての Web のリンクからすべてのパラメーターを取り除きます",
                             "@strip= * drops every parameter of every web link"}},
    {R::optionValueUnknown, P, {"{1} は {2} だけを取ります ({3})。{4} は無視されます",
                                "{1} takes only {2} ({3}); {4} is ignored"}},
    {R::separatorBlanks, N, {"{1} の値の空白も区切りの一部です。区切りは「{2}」({3} 文字) になります",
                             "the blanks of the {1} value belong to it: the separator is \"{2}\" ({3} characters)"}},

    {R::programNotFound, P, {"プログラムが見つかりません (そのまま、.exe を付けて、@path= の中、検索パスの順に探します): 「{1}」",
                             "program not found (looked for as written, with .exe, in @path=, on the search path): \"{1}\""}},
    {R::programElsewhere, N, {"{1} はここにあります: {2} (browsers が見つけた {3} のプログラム)",
                              "{1} is here: {2} (the program of {3}, as browsers finds it)"}},
    {R::programIsFolder, P, {"プログラムではなくフォルダーです: 「{1}」", "a folder, not a program: \"{1}\""}},
    {R::subCommandWithoutProgram, P, {"上にプログラムの行がないサブコマンドです。プログラムの行として読まれ、捨てられます",
                                      "a sub-command line with no program above it: it is read as a program line and dropped"}},
    {R::subCommandsOfMissingProgram, N, {"{1}行目のプログラムが見つからないので、その下のサブコマンドの行も捨てられます",
                                         "the program of line {1} is not found, so the sub-command lines below it are dropped too"}},
    {R::subCommandOfEarlierProgram, P, {"{1}行目のプログラムが見つからないので、この行は {2}行目のプログラムに付きます",
                                        "the program of line {1} is not found, so this line belongs to the program of line {2}"}},
    {R::closeWithoutOpen, P, {"開いていないグループの } です。プログラムの行として読まれ、捨てられます",
                              "} without an open group: read as a program line and dropped"}},
    {R::groupWithoutCaption, P, {"見出しのない { です。プログラムの行として読まれ、捨てられます",
                                 "{ without a caption: read as a program line and dropped"}},
    {R::groupNotClosed, P, {"{1}行目のグループがブロックの終わりまでに閉じていません",
                            "the group of line {1} is not closed before the block ends"}},
    {R::markReadAsProgram, N, {"プログラムより前の {1} はプログラムの行として読まれ、捨てられます",
                               "{1} before any program (or right after a {) is read as a program line and dropped"}},
    {R::tooManyRows, P, {"1 回の表は 200 行までです。ここから後の行は使われません",
                         "a table holds at most 200 rows: the lines from here on are not used"}},
    {R::loaderLineWithoutLoader, P, {"# の行には [system] の @loader= が必要です",
                                     "a \"#\" line needs @loader= in [system]"}},
    {R::downloadSplitAfterSeparator, N, {"> が区切りの後にしかないので分割されません。既定の \"%P\" が使われます",
                                         "the > stands only after the separator, so the line is not split there; the default \"%P\" is used"}},
    {R::downloadFolderMissing, N, {"保存先フォルダー {1} がありません。temp フォルダーに保存されます",
                                   "the folder {1} does not exist: files are saved into the temporary folder"}},
    {R::noProgramBeforeSeparator, P, {"区切りの前にプログラムがありません。捨てられます",
                                      "no program before the separator: the line is dropped"}},
    {R::separatorLookalike, N, {"プログラムと見出しの区切りは「{1}」です。「{2}」の | は区切りになりません",
                                "the separator between a program and its caption is \"{1}\": the | in \"{2}\" does not separate them"}},
    {R::givenMarkWithoutCleaning, N, {"! の行には受け取ったままの URL が渡されますが、@unwrap も @strip= もないので、どの URL も元のままです",
                                      "the ! line is given the URLs as given, but with neither @unwrap nor @strip= every URL stays as given anyway"}},

    {R::placeholderWithoutParam, P, {"{1} は置き換えられません: [system] に @param がありません",
                                     "{1} is not replaced: [system] has no @param"}},
    {R::unknownPlaceholder, P, {"{1} という置き換えはありません。そのまま残ります",
                                "there is no placeholder {1}: it stays as written"}},

    {R::hostPatternMalformed, P, {"{1} はホストの書き方ではありません ({2})。どのホストにも当たりません (ホスト名か、*. とドメイン: example.com、*.example.com)",
                                  "{1} is no host pattern ({2}): it names no host (write a host, or *. and a domain: example.com, *.example.com)"}},
    {R::hostPatternEmpty, N, {"{1} に空のパターンがあります (; が続いています)",
                              "{1} holds an empty pattern (two ; in a row, or one at an end)"}},
    {R::hostBlockNamesNoHost, P, {"{1} はどのホストも挙げていないので、このブロックは使われません",
                                  "{1} names no host: the block is never used"}},
    {R::hostPatternShadowed, N, {"{1} のホストは {2}行目のホストブロックが先に受け持つので、ここでは使われません",
                                 "the hosts of {1} go to the host block of line {2}, which comes first: here they are never used"}},
    {R::hostBlockShadowed, P, {"{1} のホストはすべて前のホストブロック ({2}行目から) が先に受け持つので、このブロックは使われません",
                               "every host {1} names goes to an earlier host block (from line {2} on): this block is never used"}},

    {R::sourcePatternMalformed, P, {"{1} はプログラムの書き方ではありません ({2})。どのプログラムにも当たりません (ファイル名か、\\ で区切ったフルパス。/ : \" < > | は使えません。フォルダーで終わるパスも不可: outlook.exe、*teams*.exe、C:\\Program Files\\Mail\\*)",
                                    "{1} is no program pattern ({2}): it names no program (write a file name, or a full path with \\; no / : \" < > |, and no path that ends in a folder: outlook.exe, *teams*.exe, C:\\Program Files\\Mail\\*)"}},
    {R::sourcePatternEmpty, N, {"{1} に空のパターンがあります (; が続いています)",
                                "{1} holds an empty pattern (two ; in a row, or one at an end)"}},
    {R::sourceBlockNamesNoProgram, P, {"{1} はどのプログラムも挙げていないので、このブロックは使われません",
                                       "{1} names no program: the block is never used"}},
    {R::sourcePatternShadowed, N, {"{1} のプログラムは {2}行目の [from:] ブロックが先に受け持つので、ここでは使われません",
                                   "the programs of {1} go to the [from:] block of line {2}, which comes first: here they are never used"}},
    {R::sourceBlockShadowed, P, {"{1} のプログラムはすべて前の [from:] ブロック ({2}行目から) が先に受け持つので、このブロックは使われません",
                                 "every program {1} names goes to an earlier [from:] block (from line {2} on): this block is never used"}},
    {R::sourcePatternWithoutExtension, N, {"{1} には拡張子がありません。プログラムのファイル名には拡張子があるので、どれにも当たりません ({1}.exe か {1}* と書きます)",
                                           "{1} has no extension: a program's file name has one, so it names none (write {1}.exe or {1}*)"}},

    {R::listProgramNotFound, P, {"[list] のプログラムが見つかりません。飛ばされます: 「{1}」",
                                 "a [list] program is not found and is skipped: \"{1}\""}},
    {R::listParameterWithoutProgram, N, {"上にプログラムがない > の行です。無視されます",
                                         "a > line with no program above it is ignored"}},
    {R::listRunsOn, P, {"[list] には終わりがないので、{2}行目の {1} のプログラムもリストのプログラムになります ([list] はファイルの最後に置きます)",
                        "[list] has no end: the programs of {1} on line {2} become list programs too (put [list] last in the file)"}},
    {R::tooManyListPrograms, P, {"リストのプログラムは 10 個までです。ここから後は使われません",
                                 "at most 10 list programs are read: from here on nothing is"}},
};

const RuleText& textOf(LintRule rule) {
    for (const RuleText& t : ruleTexts)
        if (t.rule == rule) return t;
    return ruleTexts[0];
}

// Rules whose argument at this index comes in both languages: the Japanese
// text there, the English one right after it.
int bilingualArgument(LintRule rule) {
    switch (rule) {
        case R::numberIgnored: return 2;
        case R::optionValueUnknown: return 2;
        default: return -1;
    }
}

}  // namespace

Severity severityOf(LintRule rule) { return textOf(rule).severity; }

std::string findingText(const Finding& finding, Language language) {
    std::vector<std::string> a = finding.args;
    const int both = bilingualArgument(finding.rule);
    if (both >= 0 && static_cast<std::size_t>(both) + 1 < a.size())
        a.erase(a.begin() + both + (language == Language::japanese ? 1 : 0));
    auto arg = [&a](std::size_t i) { return i < a.size() ? std::string_view(a[i]) : std::string_view(); };
    return say(language, textOf(finding.rule).text, {arg(0), arg(1), arg(2), arg(3), arg(4)});
}
