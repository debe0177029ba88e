// URL splitting and the URL-part placeholders: the portable splitter on
// any text, then "%F" … "%-L", "%M" and "%S" expanded for a target. The
// first line of the input is the target; the rest is the template, which
// is expanded once as written and once with "@param" placeholders on; the
// parts read back unchanged through "%J" and "%G".
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "template/url_parts.h"
#include "template/url_template.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

void checkSplit(std::string_view text) {
    UrlParts parts;
    parts.scheme = "untouched";
    if (!crackUrlPortable(text, parts)) {
        FUZZ_CHECK(parts.scheme == "untouched" && parts.urlPath.empty(), "a failed split changes nothing");
        return;
    }
    FUZZ_CHECK(!parts.scheme.empty() && parts.scheme.size() < cap::scheme, "scheme");
    FUZZ_CHECK(parts.hostName.size() < cap::path && parts.userName.size() < cap::path &&
                   parts.password.size() < cap::path && parts.urlPath.size() < cap::path &&
                   parts.extraInfo.size() < cap::path,
               "parts fit their buffers");
    FUZZ_CHECK(parts.portNumber <= 0xFFFF, "port");
    // Nothing is invented: every part comes from the text.
    FUZZ_CHECK(parts.scheme.size() + parts.hostName.size() + parts.extraInfo.size() <= text.size(),
               "parts come from the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view whole = inputText(data, size);
    checkSplit(whole);
    const FirstLine input = splitFirstLine(whole);
    checkSplit(input.line);

    for (int withParameters = 0; withParameters <= 1; ++withParameters) {
        FuzzPlatform& os = resetCore();
        if (withParameters) useSampleParameters();
        text::assignCut(runState.currentTarget, input.line, cap::url);
        for (int partsOnly = 0; partsOnly <= 1; ++partsOnly) {
            const int startsBefore = os.effects.starts;
            const std::string expanded =
                expandUrlTemplate(input.rest, "C:\\Tools\\viewer.exe", partsOnly);
            FUZZ_CHECK(expanded.size() < 1040, "the expansion fits its buffer");
            if (partsOnly == 1) FUZZ_CHECK(os.effects.starts == startsBefore, "parts only never hands over");
            if (expanded == cancelMarker) FUZZ_CHECK(multiUrlFlag == 0, "no %M after a hand-over");
            checkUrlParts();
        }
        // A hand-over falls back to the program once; nothing else starts.
        FUZZ_CHECK(os.effects.starts <= 1 && os.effects.processStarts == 0, "starts");
        // A value is never read again: the URL parts come back unchanged,
        // whatever placeholders ("%S", "%M", "%K" ...) they seem to hold.
        const UrlParts parts = crackUrl(runState.currentTarget) ? urlParts : UrlParts{};
        multiUrlFlag = 0;
        FUZZ_CHECK(expandUrlTemplate("<%J|%G>", "", 0) == "<" + parts.urlPath + "|" + parts.hostName + ">",
                   "%J and %G read back unchanged");
        FUZZ_CHECK(multiUrlFlag == 0 && os.effects.starts <= 1, "a value never hands over nor fills %M");
    }
    return 0;
}
