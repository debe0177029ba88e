// Page download: names the local copy, has the platform fetch the URL and
// tells the user how a failed download ended. An error status from the
// server is a failed download, never a page to open.
#include "launch/page_download.h"

#include "common/app_state.h"
#include "common/text.h"
#include "launch/saved_name.h"
#include "settings/settings.h"
#include "template/url_parts.h"

namespace {

constexpr const char* failedText = "ダウンロード失敗";

using platform::DownloadOutcome;

// The box that tells the user how a download failed.
struct OutcomeRow {
    DownloadOutcome outcome;
    const char* text;
    const char* caption;
};

const OutcomeRow outcomeTable[] = {
    {DownloadOutcome::initFailed, failedText, "初期化エラー"},
    {DownloadOutcome::openFailed, failedText, "オープンエラー"},
    {DownloadOutcome::httpError, failedText, "オープンエラー"},
    // The local file could not be made: an older copy there must not be
    // taken for the page.
    {DownloadOutcome::fileNotCreated, failedText, "オープンエラー"},
    {DownloadOutcome::stalled, failedText, "読み込みエラー"},
    {DownloadOutcome::readFailed, failedText, "読み込みエラー"},
    {DownloadOutcome::timedOut, "タイムアウトにより、すべて終了します。", "URL専用「ネルカモ」"},
};

void reportFailure(platform::WindowHandle window, DownloadOutcome outcome) {
    for (const OutcomeRow& row : outcomeTable) {
        if (row.outcome != outcome) continue;
        platform::os().messageBox(window, row.text, row.caption, platform::mbOk);
        return;
    }
}

}  // namespace

std::string downloadPage(platform::WindowHandle window, const std::string& url,
                         const std::string& folder) {
    platform::Platform& os = platform::os();
    if (!crackUrl(url) || !text::containsNoCase(urlParts.scheme, "http")) {
        os.messageBox(window, "http以外は、ダウンロードできません！", "注意", platform::mbOk);
        return cancelMarker;
    }
    const std::string localPath = savedFilePath(folder, urlParts.urlPath);
    const int timeLimit = settings.timeoutSeconds > 0 ? settings.timeoutSeconds : 30;
    const DownloadOutcome outcome = os.downloadUrl(url, localPath, timeLimit);
    if (outcome == DownloadOutcome::ok) return localPath;
    reportFailure(window, outcome);
    return cancelMarker;
}
