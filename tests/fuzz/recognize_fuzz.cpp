// Input recognition: tokens, quotes, line mode, titles after "||",
// placeholders in paths, Internet shortcuts and over-long URLs, with the
// command-line switches before it, and (for lists) link cleaning. The input is the text given, read as a
// command line, as a list (line mode) and as clipboard text; the same
// bytes are the content of every ".url" file a token names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/recognize.h"
#include "app/switches.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/url_list.h"
#include "links/link_tests.h"
#include "settings/settings.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

FuzzPlatform& prepare(const std::string& content) {
    FuzzPlatform& os = resetCore();
    os.addFilesEnding(".url", content);
    os.addFilesEnding(".html", "<html></html>");
    os.addFilesEnding(".txt", "http://host/\r\n");
    os.addFoldersEnding("\\");
    os.addFolder("C:\\Links");
    return os;
}

void checkResult(int result) {
    FUZZ_CHECK(result >= recognizedUrls && result <= recognizedOtherFile, "recognition result");
    if (result != recognizedUrls) FUZZ_CHECK(urlList.urlCount == 1, "a path is the only entry");
    checkUrlList();
    checkUrlParts();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(inputText(data, size));

    // A command line: switches first, then the tokens with file checks.
    prepare(content);
    applyKeyInversions(content);
    applySwitches(content, switchesFull);
    checkSettings();
    FUZZ_CHECK(startOptions.browserServiceName.size() < cap::serviceName, "browserServiceName");
    checkResult(recognizeInput(content, 0, 1));

    // A list file's text, with placeholders and link cleaning on.
    prepare(content);
    useSampleParameters();
    useSampleCleaning();
    checkResult(recognizeInput(content, 1, 0));

    // The clipboard: cut between tokens, line mode, file checks.
    FuzzPlatform& os = prepare(content);
    useSampleParameters();
    os.clipboard = content;
    const int clipboardResult = readClipboardInput(nullptr);
    if (clipboardResult != -1) checkResult(clipboardResult);
    checkUrlList();

    // The shortcut reader on its own.
    std::string tooLong;
    const std::string url = readShortcutUrl("C:\\Links\\page.url", &tooLong);
    FUZZ_CHECK(url.size() < cap::path, "a shortcut's URL fits");
    FUZZ_CHECK(tooLong.empty() || (url.empty() && tooLong.size() >= cap::path), "too long is too long");
    checkUrlParts();
    return 0;
}
