// Clipboard text as input: kept in transferBuffer for a hand-off and
// recognised with line ends as separators.
#include <string>

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "platform/platform.h"

int readClipboardInput(platform::WindowHandle window) {
    runState.transferBuffer.clear();
    std::string clip;
    platform::Platform& os = platform::os();
    if (!os.clipboardText(window, clip, cap::transfer)) return -1;
    std::string local = text::cut(std::string_view(clip).substr(0, clip.find('\0')), cap::transfer);
    if (local.empty()) return -1;
    runState.transferBuffer = local;

    if (os.isDirectory(local) || os.fileExists(local)) local = quoteSpaces(local);
    int r = recognizeInput(local, 1, 1);
    return urlList.urlCount > 0 ? r : -1;
}
