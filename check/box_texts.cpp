// The English meaning of Tavrin's message boxes.
#include "check/box_texts.h"

#include "common/text.h"

namespace {

struct Gloss {
    const char* japanese;  // the box's own text, or a part of it
    const char* english;
};

const Gloss captions[] = {
    {"初期化エラー", "initialisation error"}, {"オープンエラー", "open error"},
    {"読み込みエラー", "read error"},         {"URL専用「ネルカモ」", "time-out"},
    {"バージョン情報", "version information"}, {"エラー", "error"},
    {"注意", "caution"},
};

// Longer texts first where one holds another.
const Gloss texts[] = {
    {"次のURLは前後の文字とつながって長すぎるため開けません。",
     "the following URL runs into the text around it and is too long to open; a word between blanks "
     "holds at most 1039 characters"},
    {"次のURLは長すぎるため開けません。",
     "the following URL is too long to open; URLs of up to 259 characters can be opened"},
    {"入力が長すぎるため", "the input is too long: from the place shown on it was not read (at most 30159 "
                           "characters are taken at once)"},
    {"名前にShift_JISに無い文字", "the following file (folder) cannot be opened: its name holds characters "
                                  "Shift_JIS lacks, shown as ?"},
    {"次のURLを開くブラウザが設定されていません。",
     "no browser is set up for the following URL: Windows would open it with Tavrin itself, the default "
     "browser; name a browser for it in the settings file"},
    {"に次の入力を渡せませんでした。", "the input could not be handed to the running Tavrin"},
    {"設定ファイル異常", "settings file error: the settings file cannot be opened"},
    {"http以外は、ダウンロードできません！", "only http and https URLs can be downloaded"},
    {"ダウンロードプログラムを起動できません。", "the download program cannot be started"},
    {"タイムアウトにより、「ネルカモ」を終了します。", "time-out: the download program took too long"},
    {"タイムアウトにより、すべて終了します。", "time-out: the server sent nothing for too long"},
    {"ダウンロード失敗", "download failed"},
    {"ダウンロードが途中で切れました。", "the download was cut off: fewer bytes came than the server announced"},
    {"ディスクの空きが足りないため", "the download could not be saved: the drive is full"},
    {"ファイルが大きすぎて", "the download could not be saved: the file is too large for the drive"},
    {"書き込みが拒否されたため", "the download could not be saved: writing was refused"},
    {"書き込みに失敗したため", "the download could not be saved: writing failed"},
    {"https から http へリダイレクト", "the download was stopped: an https address redirected to an http one"},
    {"キーを開放してください！", "please release the key!"},
    {"に書き込めませんでした。", "the list file could not be written"},
    {"チェックされた行がありません。", "no row is checked: nothing was written"},
};

}  // namespace

std::string boxInEnglish(const std::string& caption, const std::string& text) {
    std::string out = caption;
    for (const Gloss& g : captions) {
        if (caption != g.japanese) continue;
        out = g.english;
        break;
    }
    for (const Gloss& g : texts)
        if (text::findNoCase(text, g.japanese) != text::npos) return out + ": " + g.english;
    return out;
}
