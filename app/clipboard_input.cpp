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

bool takeClipboardText(platform::WindowHandle window, std::string& out) {
    out.clear();
    platform::Platform& os = platform::os();
    // Two characters more than are kept, so that a text that does not fit
    // shows as such even when a double-byte character straddles the end.
    // The wide form first: CF_TEXT is the system's copy of it, with '?' or
    // look-alikes for what the code page lacks.
    std::u16string wide;
    if (os.clipboardWideText(window, wide, cap::transfer + 2)) {
        out = wideToCp932(wide, WideText::input);
        return true;
    }
    return os.clipboardText(window, out, cap::transfer + 2);
}

int recognizeClipboardText(std::string_view clip) {
    runState.transferBuffer.clear();
    clearOverlongUrls();
    platform::Platform& os = platform::os();
    const std::string_view whole = clip.substr(0, clip.find('\0'));
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

    if (const std::string file = besideStartFolder(local); os.isDirectory(file) || os.fileExists(file))
        local = quoteSpaces(file);
    int r = recognizeInput(local, 1, 1);
    if (!dropped.empty()) noteOverlongUrl(dropped, overlong::handOff);
    return urlList.urlCount > 0 ? r : -1;
}

int readClipboardInput(platform::WindowHandle window) {
    std::string clip;
    if (!takeClipboardText(window, clip)) {
        runState.transferBuffer.clear();
        clearOverlongUrls();
        return -1;
    }
    return recognizeClipboardText(clip);
}
