// Download failure boxes. The ones of a failed connection, an error
// status, a broken read and a silent server are as they always were; a
// file that came short, a write that failed (with the reason the write
// gave) and a redirect from https to http each say what happened.
#include "launch/download_boxes.h"

#include "common/capacity.h"
#include "common/text.h"
#include "launch/download_progress.h"

namespace {

using platform::DownloadOutcome;

constexpr const char* failedText = "ダウンロード失敗";

struct OutcomeRow {
    DownloadOutcome outcome;
    const char* text;
    const char* caption;
    bool namesFile;  // the saved path follows the text on a line of its own
};

const OutcomeRow outcomeTable[] = {
    {DownloadOutcome::initFailed, failedText, "初期化エラー", false},
    {DownloadOutcome::openFailed, failedText, "オープンエラー", false},
    {DownloadOutcome::httpError, failedText, "オープンエラー", false},
    // The local file could not be made: an older copy there must not be
    // taken for the page.
    {DownloadOutcome::fileNotCreated, failedText, "オープンエラー", false},
    // The server sent nothing for the "@timeout=" seconds: the limit ended it.
    {DownloadOutcome::stalled, "タイムアウトにより、すべて終了します。", "URL専用「ネルカモ」", false},
    {DownloadOutcome::readFailed, failedText, "読み込みエラー", false},
    {DownloadOutcome::diskFull, "ディスクの空きが足りないため、保存できませんでした。", "エラー", true},
    {DownloadOutcome::fileTooLarge, "ファイルが大きすぎて、このドライブには保存できませんでした。", "エラー", true},
    {DownloadOutcome::writeDenied, "書き込みが拒否されたため、保存できませんでした。", "エラー", true},
    {DownloadOutcome::writeFailed, "書き込みに失敗したため、保存できませんでした。", "エラー", true},
};

// A URL as a box shows it: whole up to the length a URL may have here.
std::string shownUrl(const std::string& url) { return text::cut(url, cap::path); }

}  // namespace

DownloadBox downloadFailureBox(const platform::DownloadResult& result, const std::string& savedPath) {
    switch (result.outcome) {
    case DownloadOutcome::cutOff:
        return {"ダウンロードが途中で切れました。\n" + decimalText(result.received) + " / " +
                    decimalText(result.announced) + " バイト",
                "読み込みエラー"};
    case DownloadOutcome::insecureRedirect:
        return {"https から http へリダイレクトされたため、ダウンロードを中止しました。\n" +
                    shownUrl(result.redirectFrom) + "\n→ " + shownUrl(result.redirectTo),
                "注意"};
    default:
        break;
    }
    for (const OutcomeRow& row : outcomeTable) {
        if (row.outcome != result.outcome) continue;
        std::string text = row.text;
        if (row.namesFile) text += "\n" + savedPath;
        return {text, row.caption};
    }
    return {};
}

void reportDownloadFailure(platform::WindowHandle window, const platform::DownloadResult& result,
                           const std::string& savedPath) {
    const DownloadBox box = downloadFailureBox(result, savedPath);
    if (box.caption.empty()) return;
    platform::os().messageBox(window, box.text, box.caption, platform::mbOk);
}
