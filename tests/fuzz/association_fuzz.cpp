// Association selection over a settings text: the block for the target's
// extension, "[blank]", "[.*]" and "[all]", exclusive headers, the table of
// programs, sub-commands, groups and marks, and the single-program rule
// with its template expansion and download-then-open, and "[from:]" and
// "[host:]" blocks. The first line of the input is the target, and also
// the program it came from; the rest is the settings file, whose "[system]"
// block is loaded first, as at a real start.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirstLine input = splitFirstLine(inputText(data, size));
    FuzzPlatform& os = resetCore();
    const std::string settingsText(input.rest);
    os.addFile(fuzzSettingsPath, settingsText);
    os.addFilesEnding(".exe", "MZ");
    os.addFoldersEnding("\\");
    os.addFolder("C:\\Tools\\Tavrin\\temp");
    os.downloadBody = "<a href=\"saved.html\">saved</a>";

    FUZZ_CHECK(loadSettings(nullptr, 1) == 1, "the settings file is there");
    checkSettings();

    // The target as recognition leaves it: entry 0, cut to its slot.
    text::assignCut(urlList.entries[0].url, input.line, cap::url);
    urlList.urlCount = 1;
    takeSource(sourceProgramFrom(input.line));
    FUZZ_CHECK(openWithSettings(nullptr, 0, 0) == 1, "the settings file is read again");
    checkHeld(dispatchState.sectionKey, cap::path, "sectionKey");
    checkAssociationTable();
    checkUrlList();
    checkUrlParts();
    FUZZ_CHECK(runState.currentTarget.size() < cap::url, "currentTarget");
    FUZZ_CHECK(os.effects.processStarts <= 1, "one loader at most");
    // A start per selected URL at most, with one for a failed open's
    // Open With dialog.
    FUZZ_CHECK(os.effects.starts <= 2 * maxUrlEntries, "starts");
    return 0;
}
