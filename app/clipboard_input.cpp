// Clipboard text as input: kept in transferBuffer for a hand-off and
// recognised with line ends as separators.
#include <string>

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"
#include "platform/platform.h"

namespace {

// A path with blanks would fall apart into tokens; quoted it stays whole.
// Like the shell's helper, it is left alone when the quoted form would no
// longer fit a path buffer.
void quoteIfSpaces(std::string& path) {
    if (path.find(' ') == std::string::npos) return;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return;
    if (path.size() + 2 >= cap::path) return;
    path = '"' + path + '"';
}

}  // namespace

int readClipboardInput(platform::WindowHandle window) {
    runState.transferBuffer.clear();
    std::string clip;
    platform::Platform& os = platform::os();
    if (!os.clipboardText(window, clip, cap::transfer)) return -1;
    std::string local = text::cut(std::string_view(clip).substr(0, clip.find('\0')), cap::transfer);
    if (local.empty()) return -1;
    runState.transferBuffer = local;

    if (os.isDirectory(local) || os.fileExists(local)) quoteIfSpaces(local);
    int r = recognizeInput(local, 1, 1);
    return urlList.urlCount > 0 ? r : -1;
}
