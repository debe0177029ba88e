// Link cleaning on any text: the first line is an "@unwrap=" value, the
// second an "@strip=" value, the rest the link. Cleaning lengthens a link
// only by a target host's ASCII form, changes nothing but web links, tells
// a step for every change, and leaves nothing for a second cleaning to do
// (unless the redirect links went deeper than it unwraps).
#include <cstddef>
#include <cstdint>
#include <string>

#include "links/url_cleaning.h"
#include "settings/cleaning_options.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirstLine first = splitFirstLine(inputText(data, size));
    const FirstLine second = splitFirstLine(first.rest);
    const std::string_view link = second.rest;
    LinkCleaning rules;
    addUnwrapOption("=" + std::string(first.line), rules);
    addStripOption(second.line, rules);
    addStripOption("default", rules);
    FUZZ_CHECK(rules.redirectors.size() <= maxUserRedirectors && rules.stripNames.size() <= maxUserStripNames,
               "the options keep to their counts");

    const CleanedUrl quiet = cleanUrl(link, rules);
    const CleanedUrl told = cleanUrl(link, rules, true);
    FUZZ_CHECK(quiet.url == told.url && quiet.changed == told.changed, "telling the steps changes nothing");
    FUZZ_CHECK(told.changed == !told.steps.empty(), "a step for every change");
    FUZZ_CHECK(quiet.changed == (quiet.url != link), "changed means changed");
    // Only a target's host can grow, in its ASCII form: "㌫" of two bytes
    // is five letters of Punycode (a label of them, at most 2.6 times
    // the bytes it was given in).
    FUZZ_CHECK(quiet.url.size() <= 3 * link.size(), "cleaning lengthens a link at most threefold");
    if (!isWebLink(link)) FUZZ_CHECK(!quiet.changed, "only web links are cleaned");
    if (quiet.changed) FUZZ_CHECK(isWebLink(quiet.url), "a clean link is a web link");

    int unwrapped = 0;
    for (const CleaningStep& step : told.steps) unwrapped += step.unwrapped ? 1 : 0;
    FUZZ_CHECK(unwrapped <= maxUnwrapDepth, "unwrapping stops");
    if (unwrapped < maxUnwrapDepth) {
        const CleanedUrl again = cleanUrl(quiet.url, rules);
        FUZZ_CHECK(!again.changed, "a clean link stays as it is");
    }
    return 0;
}
