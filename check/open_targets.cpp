// Recognising a dry run's targets and telling what became of them.
#include "check/open_targets.h"

#include <string>

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "links/url_cleaning.h"
#include "settings/settings.h"

namespace {

const Text givenLabel{"  元の URL: {1}", "  as given: {1}"};
const Text unwrappedBuiltIn{"  転送リンクを外しました: {1} (組み込みの転送リンク)", "  unwrapped: {1} (a built-in redirector)"};
const Text unwrappedOwn{"  転送リンクを外しました: {1} (@unwrap=)", "  unwrapped: {1} (@unwrap=)"};
const Text strippedDefault{"  取り除いたパラメーター: {1} (@strip=default の {2})", "  dropped: {1} ({2} of @strip=default)"};
const Text strippedOwn{"  取り除いたパラメーター: {1} (@strip= の {2})", "  dropped: {1} ({2} of @strip=)"};
const Text tooLong{"長すぎて開けません (URL は {1} 文字まで): {2}",
                   "too long to open (a URL holds at most {1} characters): {2}"};
const Text tooLongWord{"前後の文字とつながって長すぎるため開けません (空白で区切られた一語は {1} 文字まで): {2}",
                       "runs into the text around it and is too long to open (a word between blanks holds at most {1} characters): {2}"};
const Text tooLongMore{"  (同じ理由で開けない URL がほかに {1} 個)", "  (and {1} more for the same reason)"};

}  // namespace

Recognized recognizeTargets() {
    Recognized r;
    std::string target = runState.currentTarget;
    platform::Platform& os = platform::os();
    if (os.isDirectory(target) || os.fileExists(target)) target = quoteSpaces(target);
    r.result = recognizeInput(target, 0, 1);
    r.targets.assign(urlList.entries.begin(), urlList.entries.begin() + urlList.urlCount);
    r.overlong = overlongUrls;
    clearOverlongUrls();
    urlList.urlCount = 0;
    return r;
}

void reportCleaning(Report& r, const UrlEntry& target) {
    if (target.givenUrl.empty()) return;
    r.line(givenLabel, {target.givenUrl});
    for (const CleaningStep& step : cleanUrl(target.givenUrl, settings.cleaning, true).steps) {
        if (step.unwrapped) r.line(step.builtIn ? unwrappedBuiltIn : unwrappedOwn, {step.rule});
        else r.line(step.builtIn ? strippedDefault : strippedOwn, {step.detail, step.rule});
    }
}

void reportOverlong(Report& r, const OverlongUrls& overlong) {
    for (int i = 0; i < overlong.noteCount; ++i) {
        const OverlongNote& note = overlong.notes[static_cast<std::size_t>(i)];
        if (note.limit == 0) continue;
        r.line(note.limit == overlong::url ? tooLong : tooLongWord,
               {std::to_string(note.limit), text::cut(note.head, 81) + (note.head.size() > 80 ? "..." : "")});
        if (note.count > 1) r.line(tooLongMore, {std::to_string(note.count - 1)});
    }
}
