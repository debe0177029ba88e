// The loader wait. The loader is a separate process whose only signs are
// its end and the file it leaves; the wait polls both on the one thread.
// A file of the saved name that was there before the loader started counts
// only once the loader has written it anew: an old copy is never taken for
// the download (and never deleted to tell the two apart).
#include "launch/loader_download.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "launch/saved_name.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "template/url_template.h"

namespace {
constexpr int pollMilliseconds = 60;

// The saved file is there, written since `before` was taken.
bool writtenSince(const platform::FileStamp& before, const std::string& path) {
    const platform::FileStamp now = platform::os().fileStamp(path);
    return now.exists && (!before.exists || now != before);
}
}  // namespace

std::string downloadWithLoader(const std::string& url, const std::string& folder) {
    platform::Platform& os = platform::os();
    const platform::WindowHandle owner = runState.mainWindow;
    // A URL that does not split still gets a name: that of its own text.
    const std::string urlPath = crackUrl(url) ? urlParts.urlPath : url;
    const std::string base = withSeparator(folder);
    // The loader is told, through "%K" and "%-K", the very name waited for:
    // a name that Windows forbids (".../File:Photo.jpg"), or one too long
    // for its folder, would otherwise be saved as something else, or not at
    // all, and the wait would run out.
    SavedFile saved;
    saved.name = fittedName(base, savedFileName(urlPath));
    saved.path = text::cut(base + saved.name, cap::path);

    text::assignCut(runState.currentTarget, url, cap::url);
    const std::string parameters = expandUrlTemplate(settings.loaderParameters, "", 1, &saved);
    const platform::FileStamp before = os.fileStamp(saved.path);
    std::unique_ptr<platform::Process> loader = os.startProcess(settings.loaderProgram, parameters);
    if (!loader) {
        os.messageBox(owner, "ダウンロードプログラムを起動できません。\n" + settings.loaderProgram,
                      "エラー", platform::mbOk);
        return cancelMarker;
    }

    const int seconds = settings.timeoutSeconds > 0 ? settings.timeoutSeconds : 30;
    const long long polls = static_cast<long long>(seconds) * 1000 / pollMilliseconds;
    for (long long i = 0; i < polls; ++i) {
        os.sleep(pollMilliseconds);
        if (settings.pollForFile == 1) {
            if (writtenSince(before, saved.path) && !os.isHidden(saved.path)) return saved.path;
            continue;
        }
        if (!loader->hasEnded()) continue;
        if (writtenSince(before, saved.path)) return saved.path;
        os.messageBox(owner, "ダウンロード失敗", "エラー", platform::mbOk);
        return cancelMarker;
    }
    os.messageBox(owner, "タイムアウトにより、「ネルカモ」を終了します。", "URL専用「ネルカモ」",
                  platform::mbOk);
    return cancelMarker;
}
