// Telling the effects of a dry run.
#include "check/effect_text.h"

#include <string_view>

#include "check/box_texts.h"

namespace {

using Kind = Effect::Kind;

const Text openText{"システムで開く: {1}", "open by the system: {1}"};
const Text startText{"起動: {1}  (作業フォルダー {2})", "start: {1}  (in {2})"};
const Text ifNoBrowser{"どのブラウザーも受け取らなければ ", "only if no browser takes it: "};
const Text noBridge{"tvDDE.dll が Tavrin のそばにないのでブラウザーには渡らず ",
                    "with no tvDDE.dll beside Tavrin no browser is asked, so: "};
const Text noBrowserNamed{"@dde= がブラウザーを挙げていないのでブラウザーには渡らず ",
                          "@dde= names no browser, so none is asked: "};
const Text downloadText{"ダウンロード: {1} を {2} に保存", "download: {1} into {2}"};
const Text loaderText{"ダウンロードプログラムを起動: {1}", "start the loader: {1}"};
const Text loaderSavesText{"{1} ができるのを待つ", "wait for the loader's file {1}"};
const Text createFileText{"空のファイルを作成: {1}", "create the empty file {1}"};
const Text createFolderText{"フォルダーを作成: {1}", "create the folder {1}"};
const Text deleteText{"削除: {1}", "delete {1}"};
const Text messageText{"メッセージ [{1}] {2}", "message box [{1}] {2}"};
const Text pauseText{"{1} ミリ秒待つ", "pause {1} ms"};
const Text handOverNamed{"ブラウザー {2} に渡す: {1}", "hand over to the browser {2}: {1}"};
const Text handOverAny{"ブラウザー (@dde= の順) に渡す: {1}", "hand over to the browser (the @dde= services in turn): {1}"};
const Text offerText{"ブラウザー {1} に渡してみる (試験では渡さない): {2}",
                     "offer to the browser {1} (not done in a dry run): {2}"};
const Text queryText{"ブラウザー {1} に表示中のページを問い合わせる (試験では問い合わせない)",
                     "ask the browser {1} for its page (not done in a dry run)"};
const Text menuText{"メニューを表示", "show the menu"};
const Text toolsMenuText{"ツールメニューを表示", "show the tools menu"};
const Text boxEnglish{"メッセージ [{1}] {2}", "message box [{1}] {2}  ({3})"};
const Text listWindowText{"リストウィンドウを開く (links コマンドで行を確認できます)",
                          "open the list window (the links command shows its rows)"};

std::string oneLine(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') continue;
        out += (c == '\n' || c == '\t') ? ' ' : c;
    }
    return out;
}

const char* kindName(const Effect& effect) {
    switch (effect.kind) {
        case Kind::start: return opensBySystem(effect) ? "open" : "start";
        case Kind::download: return "download";
        case Kind::loaderStart: return "loader";
        case Kind::loaderSaves: return "loader-saves";
        case Kind::createFile: return "create-file";
        case Kind::createFolder: return "create-folder";
        case Kind::deleteItems: return "delete";
        case Kind::message: return "message";
        case Kind::pause: return "pause";
        case Kind::handOver: return "handover";
        case Kind::browserSend: return "offer";
        case Kind::browserQuery: return "query";
        case Kind::menu: return effect.number == 1 ? "tools-menu" : "menu";
        case Kind::listWindow: return "list-window";
    }
    return "?";
}

}  // namespace

bool opensBySystem(const Effect& effect) {
    return effect.kind == Kind::start && effect.parameters.empty() && effect.directory.empty();
}

std::string commandLineOf(const Effect& start) {
    std::string line = "\"" + start.file + "\"";
    if (!start.parameters.empty()) line += " " + start.parameters;
    return line;
}

std::string describeEffect(const Effect& e, Language language) {
    switch (e.kind) {
        case Kind::start: {
            std::string text = opensBySystem(e)
                                   ? say(language, openText, {e.file})
                                   : say(language, startText, {commandLineOf(e), e.directory});
            if (e.ifNoBrowserTakes) return say(language, ifNoBrowser) + text;
            if (e.unasked == Effect::Unasked::noBridge) return say(language, noBridge) + text;
            if (e.unasked == Effect::Unasked::noBrowserNamed) return say(language, noBrowserNamed) + text;
            return text;
        }
        case Kind::download: return say(language, downloadText, {e.file, e.parameters});
        case Kind::loaderStart:
            return say(language, loaderText, {commandLineOf(e)});
        case Kind::loaderSaves: return say(language, loaderSavesText, {e.file});
        case Kind::createFile: return say(language, createFileText, {e.file});
        case Kind::createFolder: return say(language, createFolderText, {e.file});
        case Kind::deleteItems: return say(language, deleteText, {e.file});
        case Kind::message: return say(language, messageText, {e.parameters, oneLine(e.file)});
        case Kind::pause: return say(language, pauseText, {std::to_string(e.number)});
        case Kind::handOver:
            return e.file.empty() ? say(language, handOverAny, {e.parameters})
                                  : say(language, handOverNamed, {e.parameters, e.file});
        case Kind::browserSend: return say(language, offerText, {e.file, e.parameters});
        case Kind::browserQuery: return say(language, queryText, {e.file});
        case Kind::menu: return say(language, e.number == 1 ? toolsMenuText : menuText);
        case Kind::listWindow: return say(language, listWindowText);
    }
    return std::string();
}

std::string effectTsv(const Effect& e) {
    std::string line = kindName(e);
    auto field = [&line](std::string_view s) { line += '\t' + oneLine(s); };
    switch (e.kind) {
        case Kind::start:
            field(e.file);
            if (!opensBySystem(e)) {
                field(e.parameters);
                field(e.directory);
                field(e.ifNoBrowserTakes ? "if-no-browser-takes" : "");
                if (e.unasked != Effect::Unasked::no)
                    field(e.unasked == Effect::Unasked::noBridge ? "no-bridge" : "no-browser-named");
            }
            break;
        case Kind::download:
        case Kind::loaderStart:
        case Kind::browserSend:
            field(e.file);
            field(e.parameters);
            break;
        case Kind::message:
            field(e.parameters);
            field(e.file);
            break;
        case Kind::handOver:
            field(e.file);
            field(e.parameters);
            field(e.directory);
            break;
        case Kind::pause: field(std::to_string(e.number)); break;
        case Kind::menu:
        case Kind::listWindow: break;
        default: field(e.file); break;
    }
    return line;
}

std::string effectWords(const Effect& e, Language language) {
    if (e.kind != Kind::message || language != Language::english) return describeEffect(e, language);
    std::string text;
    for (char c : e.file) {
        if (c != '\r') text += c == '\n' ? ' ' : c;
    }
    return say(language, boxEnglish, {e.parameters, text, boxInEnglish(e.parameters, e.file)});
}
