// The settings loader over any settings file: the "[system]" options, the
// parameters block, filter groups, the "[list]" programs and an "@path="
// list file. The input is the settings file; the same bytes serve as the
// "@path=" list file, so that reader sees hostile text too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings.h"
#include "template/folder_date.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(inputText(data, size));
    for (int systemOnly = 0; systemOnly <= 1; ++systemOnly) {
        FuzzPlatform& os = resetCore();
        os.addFile(fuzzSettingsPath, content);
        os.addFilesEnding("paths.txt", content);
        // Programs named in the settings exist when their name ends in
        // ".exe" (as findProgram tries it); names ending in a separator
        // are folders.
        os.addFilesEnding(".exe", "MZ");
        os.addFoldersEnding("\\");
        os.addFolder("C:\\Tools\\Tavrin\\temp");

        FUZZ_CHECK(loadSettings(nullptr, systemOnly) == 1, "the settings file is there");
        checkSettings();
        FUZZ_CHECK(os.effects.starts == 0 && os.effects.processStarts == 0, "loading starts nothing");

        // What the user parameters and folders make of the usual texts.
        const std::string expanded =
            expandWhenParametersOn("%dl%\\%4y%%0m%%0d% %ins_Url% %temp_Url% %My Documents%");
        FUZZ_CHECK(expanded.size() <= 520, "expansion");
        FUZZ_CHECK(lastExpansion.size() <= 1040, "lastExpansion");
    }
    return 0;
}
