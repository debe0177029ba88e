// Page download: names the local copy, has the platform fetch the URL and
// tells the user how a failed download ended. An error status from the
// server is a failed download, never a page to open, and so is an answer
// that ended short of the length it announced.
//
// The answer is written into a part file (".part") that belongs to its
// handle, and takes the saved name only once it is whole, so that neither
// a failed download nor a download into the user's own folder ever costs a
// file that was there: outside the temporary folder a name already taken
// gives "name (2).ext", "name (3).ext" and so on. The saved file is then
// marked as come from the Internet.
#include "launch/page_download.h"

#include <utility>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "launch/download_boxes.h"
#include "launch/download_progress.h"
#include "launch/saved_name.h"
#include "settings/settings.h"
#include "template/url_parts.h"

namespace {

// How many numbered names are tried before the download counts as failed.
constexpr int mostNumberedNames = 999;

using platform::DownloadOutcome;
using platform::PartFile;

bool isTempFolder(const std::string& folder) {
    return text::equalsNoCase(withoutTrailingBackslash(folder),
                              withoutTrailingBackslash(settings.tempFolder));
}

// A new part file beside the saved name, under the first name not held by
// anything (a file, or one still on its way out after a cancelled
// download); null when none can be made.
std::shared_ptr<PartFile> createPart(const std::string& folder, const std::string& name) {
    platform::Platform& os = platform::os();
    for (int n = 1; n <= mostNumberedNames; ++n) {
        const std::string suffix = n == 1 ? ".part" : "." + decimalText(n) + ".part";
        bool nameTaken = false;
        if (auto part = os.createPartFile(folder + fittedName(folder, name + suffix), nameTaken))
            return part;
        if (!nameTaken) return nullptr;
    }
    return nullptr;
}

// Keeps the whole download under the saved name `name` in `folder`;
// returns the path it now has, or an empty text when it could not be
// named (the part file then goes with its handle). In the temporary
// folder an older copy is replaced; elsewhere a name in use is left alone
// and the next free "name (n).ext" is taken.
std::string placeDownload(PartFile& part, const std::string& folder, const std::string& name) {
    if (isTempFolder(folder)) {
        const std::string path = folder + name;
        if (part.keepAs(path, true) == PartFile::Keep::kept) return path;
    }
    for (int n = 1; n <= mostNumberedNames; ++n) {
        const std::string suffix = n == 1 ? "" : " (" + decimalText(n) + ")";
        const std::string path = folder + fittedName(folder, name, suffix);
        // The rename itself refuses a name in use, even one taken since.
        const PartFile::Keep kept = part.keepAs(path, false);
        if (kept == PartFile::Keep::kept) return path;
        if (kept == PartFile::Keep::failed) break;
    }
    return std::string();
}

}  // namespace

std::string downloadPage(platform::WindowHandle window, const std::string& url,
                         const std::string& folder, const std::string& referrer) {
    platform::Platform& os = platform::os();
    if (!crackUrl(url) || !text::containsNoCase(urlParts.scheme, "http")) {
        os.messageBox(window, "http以外は、ダウンロードできません！", "注意", platform::mbOk);
        return cancelMarker;
    }
    const std::string base = withSeparator(folder);
    const std::string name = fittedName(base, savedFileName(urlParts.urlPath));
    platform::DownloadResult result;
    std::shared_ptr<PartFile> part = createPart(base, name);
    if (!part) {
        result.outcome = DownloadOutcome::fileNotCreated;
        reportDownloadFailure(window, result, base + name);
        return cancelMarker;
    }
    const int stallLimit = settings.timeoutSeconds > 0 ? settings.timeoutSeconds : 30;
    {
        // The progress window closes before any box about the outcome.
        ProgressWatch watch(window, name);
        result = os.downloadUrl(url, part, stallLimit, watch);
    }
    if (result.outcome != DownloadOutcome::ok) {
        // A transfer that was let go may hold the part file a while yet;
        // it goes when the last holder lets go.
        part.reset();
        reportDownloadFailure(window, result, base + name);
        return cancelMarker;
    }
    std::string saved = placeDownload(*part, base, name);
    part.reset();
    if (saved.empty()) {
        result.outcome = DownloadOutcome::fileNotCreated;
        reportDownloadFailure(window, result, base + name);
        return cancelMarker;
    }
    os.markFromInternet(saved, result.finalUrl.empty() ? url : result.finalUrl, referrer);
    return saved;
}
