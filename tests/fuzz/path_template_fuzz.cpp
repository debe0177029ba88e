// The file-path placeholders of a program that opens a downloaded file
// ("%P", "%D", "%-D", "%F", "%N", "%E", "%A", "%B"), with the folder, date
// and user placeholders before them. The first line of the input is the
// local path; the rest is the template, expanded once whole and once for
// the folders only (as a download folder template is). Each value goes in
// unchanged: "%P" and "%N" read back the path and its name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "template/path_template.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirstLine input = splitFirstLine(inputText(data, size));
    FuzzPlatform& os = resetCore();
    os.addFoldersEnding("\\");
    os.addFolder("C:\\Pages");
    useSampleParameters();
    text::assignCut(runState.currentTarget, input.line, cap::url);

    const PathParts parts = splitPath(input.line);
    FUZZ_CHECK(parts.drive.size() <= 2 && parts.directory.size() <= 255 && parts.name.size() <= 255 &&
                   parts.extension.size() <= 255,
               "path parts fit");
    for (int foldersOnly = 0; foldersOnly <= 1; ++foldersOnly) {
        const std::string expanded = expandPathTemplate(input.rest, foldersOnly);
        FUZZ_CHECK(expanded.size() < 1040, "the expansion fits its buffer");
    }
    // A value is never read again: the path comes back as it went in,
    // whatever placeholders it seems to hold, and so does its name.
    const std::string& target = runState.currentTarget;
    if (!os.isDirectory(target)) {
        FUZZ_CHECK(expandPathTemplate("<%P>", 0) == "<" + target + ">", "%P is the path unchanged");
        FUZZ_CHECK(expandPathTemplate("%N%N", 0) == parts.name + parts.extension + parts.name + parts.extension,
                   "%N is the name unchanged");
    }
    return 0;
}
