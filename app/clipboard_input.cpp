// Clipboard text as input (its wide form where there is one): kept in
// transferBuffer for a hand-off and recognised with line ends as
// separators.
#include <string>

#include "app/input_cut.h"
#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "links/wide_text.h"
#include "platform/platform.h"

int readClipboardInput(platform::WindowHandle window) {
    runState.transferBuffer.clear();
    clearOverlongUrls();
    std::string clip;
    platform::Platform& os = platform::os();
    // Two characters more than are kept, so that a text that does not fit
    // shows as such even when a double-byte character straddles the end.
    // The wide form first: CF_TEXT is the system's copy of it, with '?' or
    // look-alikes for what the code page lacks.
    std::u16string wide;
    if (os.clipboardWideText(window, wide, cap::transfer + 2)) {
        clip = wideToCp932(wide, WideText::input);
    } else if (!os.clipboardText(window, clip, cap::transfer + 2)) {
        return -1;
    }
    const std::string_view whole = std::string_view(clip).substr(0, clip.find('\0'));
    // A longer text is cut between two tokens, never inside a URL.
    std::string local(wholeTokens(whole, overlong::handOff, 1));
    std::string_view dropped = text::skipLeadingSpaces(whole.substr(local.size()));
    while (!dropped.empty() && (dropped[0] == '\r' || dropped[0] == '\n'))
        dropped = text::skipLeadingSpaces(dropped.substr(1));
    if (local.empty()) {
        if (!dropped.empty()) noteOverlongUrl(dropped, overlong::handOff);
        return -1;
    }
    runState.transferBuffer = local;

    if (os.isDirectory(local) || os.fileExists(local)) local = quoteSpaces(local);
    int r = recognizeInput(local, 1, 1);
    if (!dropped.empty()) noteOverlongUrl(dropped, overlong::handOff);
    return urlList.urlCount > 0 ? r : -1;
}
