// Reading the check tool's command line. Every refusal names the word at
// fault, in the language asked for wherever "--lang" stands.
#include "check/options.h"

#include <string_view>
#include <utility>

namespace {

enum CommandBit : unsigned {
    lintCommand = 1, openCommand = 2, linksCommand = 4, browsersCommand = 8, doctorCommand = 16,
    everyCommand = 31,
};

struct OptionDef {
    const char* name;
    bool takesValue;
    unsigned commands;  // the commands it applies to
};

const OptionDef optionDefs[] = {
    {"--ini", true, everyCommand},       {"--lang", true, everyCommand},
    {"--raw", false, everyCommand},      {"--utf8", false, everyCommand},
    {"--help", false, everyCommand},
    {"--shift", false, openCommand},     {"--ctrl", false, openCommand},
    {"--from", true, openCommand},
    {"--tsv", false, openCommand | linksCommand | browsersCommand | doctorCommand},
    {"--json", false, linksCommand},     {"--base", true, linksCommand},
    {"--subfolders", false, linksCommand}, {"--no-convert", false, linksCommand},
};

const Text unknownOption{"知らないオプションです: {1}", "unknown option: {1}"};
const Text needsValue{"{1} には値が必要です ({1} {2})", "{1} needs a value ({1} {2})"};
const Text noValue{"{1} は値を取りません: {2}", "{1} takes no value: {2}"};
const Text badLanguage{"--lang は ja か en です: {1}", "--lang takes ja or en, not {1}"};
const Text noCommand{"コマンドがありません (lint、open、links、browsers、doctor のどれか)",
                     "no command given (lint, open, links, browsers or doctor)"};
const Text unknownCommand{"知らないコマンドです: {1} (lint、open、links、browsers、doctor のどれか)",
                          "unknown command: {1} (the commands are lint, open, links, browsers and doctor)"};
const Text notForCommand{"{1} は {2} には使えません ({3} で使います)",
                         "{1} does not apply to {2} (it applies to {3})"};
const Text takesNoWords{"{1} はほかの語を取りません: {2}", "{1} takes no other words: {2}"};
const Text openNeedsUrl{"open には URL が必要です", "open needs at least one URL"};
const Text linksNeedsOne{"links にはファイルかフォルダーを 1 つだけ指定します (指定は {1} 個)",
                         "links takes one file or folder (given: {1})"};
const Text tsvOrJson{"--tsv と --json は一緒に使えません", "give --tsv or --json, not both"};
const Text rawOrUtf8{"--raw と --utf8 は一緒に使えません", "give --raw or --utf8, not both"};

unsigned commandBit(std::string_view command) {
    if (command == "lint") return lintCommand;
    if (command == "open") return openCommand;
    if (command == "links") return linksCommand;
    if (command == "browsers") return browsersCommand;
    if (command == "doctor") return doctorCommand;
    return 0;
}

std::string commandNames(unsigned commands) {
    std::string names;
    for (const auto& [bit, name] : {std::pair<unsigned, const char*>{lintCommand, "lint"},
                                    {openCommand, "open"}, {linksCommand, "links"},
                                    {browsersCommand, "browsers"}, {doctorCommand, "doctor"}}) {
        if (!(commands & bit)) continue;
        if (!names.empty()) names += ", ";
        names += name;
    }
    return names;
}

const OptionDef* findOption(std::string_view name) {
    for (const OptionDef& option : optionDefs)
        if (name == option.name) return &option;
    return nullptr;
}

bool isOptionWord(const std::string& word) { return word.size() > 2 && word.compare(0, 2, "--") == 0; }

// The language is taken first, so that every message obeys it.
void takeLanguage(const std::vector<std::string>& words, CheckOptions& options) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--") return;
        std::string value;
        if (words[i] == "--lang" && i + 1 < words.size()) value = words[i + 1];
        else if (words[i].compare(0, 7, "--lang=") == 0) value = words[i].substr(7);
        else continue;
        if (value == "en") options.language = Language::english;
        else if (value == "ja") options.language = Language::japanese;
    }
}

}  // namespace

bool parseCheckOptions(const std::vector<std::string>& words, CheckOptions& options,
                       std::string& error) {
    takeLanguage(words, options);
    const Language language = options.language;
    // Options are searched for in any place: Tavrin's own switches ("/#…")
    // and URLs never begin with "--". A lone "--" ends the options.
    std::vector<std::pair<const OptionDef*, std::string>> given;  // with the word as written
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOptionWord(word)) {
            if (options.command.empty()) options.command = word;
            else options.words.push_back(word);
            continue;
        }
        const std::size_t eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const OptionDef* option = findOption(name);
        if (!option) {
            error = say(language, unknownOption, {word});
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            if (!option->takesValue) {
                error = say(language, noValue, {name, word});
                return false;
            }
            value = word.substr(eq + 1);
        } else if (option->takesValue) {
            if (i + 1 >= words.size() || isOptionWord(words[i + 1]) || words[i + 1] == "--") {
                error = say(language, needsValue, {name, name == "--lang"   ? "en"
                                             : name == "--base" ? "URL"
                                             : name == "--from" ? "NAME"
                                                                : "FILE"});
                return false;
            }
            value = words[++i];
        }
        if (name == "--ini") {
            options.ini = value;
            options.iniGiven = true;
        } else if (name == "--lang") {
            if (value != "en" && value != "ja") {
                error = say(language, badLanguage, {value});
                return false;
            }
        } else if (name == "--base") {
            options.base = value;
            options.baseGiven = true;
        } else if (name == "--from") {
            options.from = value;
            options.fromGiven = true;
        } else if (name == "--shift") {
            options.shift = true;
        } else if (name == "--ctrl") {
            options.ctrl = true;
        } else if (name == "--subfolders") {
            options.subfolders = true;
        } else if (name == "--no-convert") {
            options.noConversion = true;
        } else if (name == "--tsv") {
            options.tsv = true;
        } else if (name == "--json") {
            options.json = true;
        } else if (name == "--raw") {
            options.raw = true;
        } else if (name == "--utf8") {
            options.utf8 = true;
        } else if (name == "--help") {
            options.help = true;
        }
        given.emplace_back(option, word);
    }
    if (options.help) return true;
    if (options.command.empty()) {
        error = say(language, noCommand);
        return false;
    }
    const unsigned command = commandBit(options.command);
    if (command == 0) {
        error = say(language, unknownCommand, {options.command});
        return false;
    }
    for (const auto& [option, word] : given) {
        if (option->commands & command) continue;
        error = say(language, notForCommand, {word, options.command, commandNames(option->commands)});
        return false;
    }
    if (options.tsv && options.json) {
        error = say(language, tsvOrJson);
        return false;
    }
    if (options.raw && options.utf8) {
        error = say(language, rawOrUtf8);
        return false;
    }
    if ((command & (lintCommand | browsersCommand | doctorCommand)) && !options.words.empty()) {
        error = say(language, takesNoWords, {options.command, options.words[0]});
        return false;
    }
    if (command == openCommand && options.words.empty()) {
        error = say(language, openNeedsUrl);
        return false;
    }
    if (command == linksCommand && options.words.size() != 1) {
        error = say(language, linksNeedsOne, {std::to_string(options.words.size())});
        return false;
    }
    return true;
}

std::string usageText(Language language, bool windows) {
    static const Text usage{
        "使い方 ({1} はコンソールで使うプログラムです。ダブルクリックしても、この説明が一瞬出るだけです):\n"
        "  {1} lint [--ini FILE]\n"
        "      設定ファイルの問題を行番号と理由で示します。\n"
        "  {1} open URL... [--shift] [--ctrl] [--from NAME|PATH] [--ini FILE] [--tsv]\n"
        "      URL を渡したとき Tavrin が何をするか (選ばれるブロック、メニュー、起動するコマンドライン) を示します。\n"
        "      --from: リンク元のプログラム (outlook.exe か、そのフルパス)。[from:] のブロックを選ぶのに使います。\n"
        "  {1} links FILE [--base URL] [--subfolders] [--no-convert] [--ini FILE] [--tsv|--json]\n"
        "      HTML ページ、リストファイル、ショートカットのフォルダーからリストウィンドウに並ぶ行を示します。\n"
        "  {1} browsers [--ini FILE] [--tsv]\n"
        "      インストールされた Web ブラウザーとそのプロファイルを示し、Tavrin.ini に貼る行を書きます。\n"
        "  {1} doctor [--ini FILE] [--tsv]\n"
        "      クリックしたリンクが Tavrin に届くか (登録、既定のアプリ、設定ファイル、ライブラリ、temp) を調べます。\n"
        "  --ini FILE  読む設定ファイル (既定: このプログラムと同じフォルダーの Tavrin.ini)。\n"
        "              そのフォルダーを Tavrin.exe のフォルダーとして扱います。\n"
        "共通: --lang en (英語で表示)、--raw (コード ページ 932 のまま出力)、--help (この説明)\n"
        "{2}"
        "終了コード: 0 問題なし、1 問題あり (lint、doctor)・何も起動しない (open)・行がない (links)・\n"
        "            ブラウザーがない (browsers)、\n"
        "            2 使い方の誤り・読めないファイル\n",
        "usage ({1} is a console program: double-clicked, it only flashes this text):\n"
        "  {1} lint [--ini FILE]\n"
        "      names every problem of the settings file, with its line and a reason\n"
        "  {1} open URL... [--shift] [--ctrl] [--from NAME|PATH] [--ini FILE] [--tsv]\n"
        "      tells what Tavrin would do with the URLs: the block it picks, the menu, the command lines it starts\n"
        "      --from: the program the link came from (outlook.exe, or its full path), for the [from:] blocks\n"
        "  {1} links FILE [--base URL] [--subfolders] [--no-convert] [--ini FILE] [--tsv|--json]\n"
        "      the rows the list window would show for an HTML page, a list file or a shortcut folder\n"
        "  {1} browsers [--ini FILE] [--tsv]\n"
        "      the web browsers installed and their profiles, with the lines to paste into Tavrin.ini\n"
        "  {1} doctor [--ini FILE] [--tsv]\n"
        "      whether clicked links reach Tavrin: registration, default apps, settings, libraries, temp\n"
        "  --ini FILE  the settings file to read (default: Tavrin.ini beside this program);\n"
        "              its folder stands for the folder of Tavrin.exe\n"
        "common: --lang en (English), --raw (write code page 932 bytes as they are), --help (this text)\n"
        "{2}"
        "exit status: 0 no problem; 1 problems found (lint, doctor), nothing would start (open), no rows (links)\n"
        "             or no browser to write (browsers);\n"
        "             2 bad usage or a file that cannot be read\n"};
    static const Text windowsOutput{
        "出力: コンソールにはその文字コードに関係なくそのまま表示します。ファイルやパイプへは\n"
        "      コード ページ 932 で、--utf8 を付けると UTF-8 で書きます。\n",
        "output: a console shows the text as it is, whatever its code page; a file or pipe gets\n"
        "        code page 932 bytes, or UTF-8 with --utf8\n"};
    static const Text posixOutput{"出力: UTF-8 (--raw でコード ページ 932)。--utf8 は既定と同じです。\n",
                                  "output: UTF-8 (--raw: code page 932); --utf8 is the default here\n"};
    return say(language, usage,
               {windows ? "TavrinCheck.exe" : "tavrin-check", say(language, windows ? windowsOutput : posixOutput)});
}
