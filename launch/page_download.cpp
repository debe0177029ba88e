// Page download: names the local copy, has the platform fetch the URL and
// tells the user how a failed download ended. An error status from the
// server is a failed download, never a page to open.
//
// The answer is written under a name of its own (".part") and takes the
// saved name only once it is whole, so that neither a failed download nor
// a download into the user's own folder ever costs a file that was there:
// outside the temporary folder a name already taken gives "name (2).ext",
// "name (3).ext" and so on.
#include "launch/page_download.h"

#include <utility>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "launch/download_progress.h"
#include "launch/saved_name.h"
#include "settings/settings.h"
#include "template/url_parts.h"

namespace {

constexpr const char* failedText = "ダウンロード失敗";
// How many numbered names are tried before the download counts as failed.
constexpr int mostNumberedNames = 999;

using platform::DownloadOutcome;

// The box that tells the user how a download failed. A cancelled download
// was the user's own choice: no box.
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
    // The server sent nothing for the "@timeout=" seconds: the limit ended it.
    {DownloadOutcome::stalled, "タイムアウトにより、すべて終了します。", "URL専用「ネルカモ」"},
    {DownloadOutcome::readFailed, failedText, "読み込みエラー"},
};

void reportFailure(platform::WindowHandle window, DownloadOutcome outcome) {
    for (const OutcomeRow& row : outcomeTable) {
        if (row.outcome != outcome) continue;
        platform::os().messageBox(window, row.text, row.caption, platform::mbOk);
        return;
    }
}

bool isTempFolder(const std::string& folder) {
    return text::equalsNoCase(withoutTrailingBackslash(folder),
                              withoutTrailingBackslash(settings.tempFolder));
}

// A name beside the saved one for the answer while it arrives, not taken
// by any file.
std::string partPathFor(const std::string& folder, const std::string& name) {
    platform::Platform& os = platform::os();
    for (int n = 1; n <= mostNumberedNames; ++n) {
        const std::string suffix = n == 1 ? ".part" : "." + decimalText(n) + ".part";
        const std::string path = folder + fittedName(folder, name + suffix);
        if (!os.fileExists(path)) return path;
    }
    return folder + fittedName(folder, name + ".part");
}

// Gives the whole download in `part` the saved name `name` in `folder`;
// returns the path it now has, or an empty text when it could not be
// named. In the temporary folder an older copy is replaced; elsewhere a
// name in use is left alone and the next free "name (n).ext" is taken.
std::string placeDownload(const std::string& part, const std::string& folder,
                          const std::string& name) {
    platform::Platform& os = platform::os();
    if (isTempFolder(folder)) {
        const std::string path = folder + name;
        if (os.moveFile(part, path, true)) return path;
    }
    for (int n = 1; n <= mostNumberedNames; ++n) {
        const std::string suffix = n == 1 ? "" : " (" + decimalText(n) + ")";
        const std::string path = folder + fittedName(folder, name, suffix);
        // The rename itself refuses a name in use, even one taken since.
        if (!os.fileExists(path) && os.moveFile(part, path, false)) return path;
    }
    os.deleteFile(part);
    return std::string();
}

}  // namespace

std::string downloadPage(platform::WindowHandle window, const std::string& url,
                         const std::string& folder) {
    platform::Platform& os = platform::os();
    if (!crackUrl(url) || !text::containsNoCase(urlParts.scheme, "http")) {
        os.messageBox(window, "http以外は、ダウンロードできません！", "注意", platform::mbOk);
        return cancelMarker;
    }
    const std::string base = withSeparator(folder);
    const std::string name = fittedName(base, savedFileName(urlParts.urlPath));
    const std::string part = partPathFor(base, name);
    const int stallLimit = settings.timeoutSeconds > 0 ? settings.timeoutSeconds : 30;
    DownloadOutcome outcome;
    {
        // The progress window closes before any box about the outcome.
        ProgressWatch watch(window, name);
        outcome = os.downloadUrl(url, part, stallLimit, watch);
    }
    if (outcome != DownloadOutcome::ok) {
        reportFailure(window, outcome);
        return cancelMarker;
    }
    std::string saved = placeDownload(part, base, name);
    if (saved.empty()) {
        reportFailure(window, DownloadOutcome::fileNotCreated);
        return cancelMarker;
    }
    return saved;
}
