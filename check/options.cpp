// Reading the check tool's command line.
#include "check/options.h"

namespace {

bool takesValue(const std::string& option) {
    return option == "--ini" || option == "--lang" || option == "--base";
}

}  // namespace

bool parseCheckOptions(const std::vector<std::string>& words, CheckOptions& options,
                       std::string& error) {
    // Options are searched for in any place: Tavrin's own switches ("/#…")
    // and URLs never begin with "--". A lone "--" ends the options.
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            if (options.command.empty()) options.command = word;
            else options.words.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word, value;
        const std::size_t eq = word.find('=');
        bool hasValue = false;
        if (eq != std::string::npos) {
            name = word.substr(0, eq);
            value = word.substr(eq + 1);
            hasValue = true;
        }
        if (takesValue(name) && !hasValue) {
            if (i + 1 >= words.size()) {
                error = name;
                return false;
            }
            value = words[++i];
            hasValue = true;
        }
        if (name == "--ini") {
            options.ini = value;
            options.iniGiven = true;
        } else if (name == "--lang") {
            if (value == "en") options.language = Language::english;
            else if (value == "ja") options.language = Language::japanese;
            else {
                error = word;
                return false;
            }
        } else if (name == "--base") {
            options.base = value;
            options.baseGiven = true;
        } else if (hasValue) {
            error = word;
            return false;
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
        } else if (name == "--help") {
            options.help = true;
        } else {
            error = word;
            return false;
        }
    }
    return true;
}

std::string usageText(Language language) {
    static const Text usage{
        "使い方:\n"
        "  tavrin-check lint [--ini FILE]\n"
        "      設定ファイルの問題を行番号と理由で示します。\n"
        "  tavrin-check open URL... [--shift] [--ctrl] [--ini FILE] [--tsv]\n"
        "      URL を渡したとき Tavrin が何をするか (ブロック、表、起動するコマンドライン) を示します。\n"
        "  tavrin-check links FILE [--base URL] [--subfolders] [--no-convert] [--tsv|--json]\n"
        "      HTML ページ、リストファイル、ショートカットのフォルダーからリストウィンドウに並ぶ行を示します。\n"
        "共通: --lang en (英語で表示)、--raw (コード ページ 932 のまま出力)\n"
        "終了コード: 0 問題なし、1 問題あり・何も起動しない、2 使い方の誤り・読めないファイル\n",
        "usage:\n"
        "  tavrin-check lint [--ini FILE]\n"
        "      names every problem of the settings file, with its line and a reason\n"
        "  tavrin-check open URL... [--shift] [--ctrl] [--ini FILE] [--tsv]\n"
        "      tells what Tavrin would do with the URLs: block, rows, the command lines it starts\n"
        "  tavrin-check links FILE [--base URL] [--subfolders] [--no-convert] [--tsv|--json]\n"
        "      the rows the list window would show for an HTML page, a list file or a shortcut folder\n"
        "common: --lang en (English), --raw (write code page 932 bytes as they are)\n"
        "exit status: 0 no problem, 1 problems found or nothing would start, 2 bad usage or unreadable file\n"};
    return say(language, usage);
}
