// Host blocks: patterns no host can have, empty ones, and patterns (or whole
// blocks) that an earlier host block takes first. The headers are those
// Tavrin's own scan finds, in its order: the first block naming a host wins.
#include <string>
#include <utility>
#include <vector>

#include "check/lint_context.h"
#include "settings/host_blocks.h"
#include "settings/host_pattern.h"

namespace {

std::string headerText(const HostHeader& h) {
    return std::string(hostHeaderKey) + h.patterns + "]";
}

// The line of the first earlier closed header with a pattern covering
// `pattern`; 0 when none does.
int takenBy(const LintContext& c, const std::vector<HostHeader>& headers, std::size_t index,
            std::string_view pattern) {
    for (std::size_t i = 0; i < index; ++i) {
        if (!headers[i].closed) continue;
        for (std::string_view earlier : splitHostPatterns(headers[i].patterns))
            if (hostPatternCovers(earlier, pattern)) return c.lineOf(headers[i].at);
    }
    return 0;
}

}  // namespace

void lintHostBlocks(LintContext& c) {
    const std::vector<HostHeader> headers = hostHeaders(c.searched);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const HostHeader& h = headers[i];
        if (!h.closed) continue;  // reported with the other headers
        const int line = c.lineOf(h.at);
        const std::string header = headerText(h);
        int usable = 0, empty = 0, taken = 0, takenLine = 0;
        std::vector<std::pair<std::string, int>> takenPatterns;
        for (std::string_view pattern : splitHostPatterns(h.patterns)) {
            const HostPatternForm form = hostPatternForm(pattern);
            if (form == HostPatternForm::empty) {
                ++empty;
                continue;
            }
            if (form == HostPatternForm::malformed) {
                c.add(line, LintRule::hostPatternMalformed, {std::string(pattern), header});
                continue;
            }
            ++usable;
            if (const int by = takenBy(c, headers, i, pattern)) {
                ++taken;
                if (takenLine == 0) takenLine = by;
                takenPatterns.emplace_back(std::string(pattern), by);
            }
        }
        if (usable == 0) {
            c.add(line, LintRule::hostBlockNamesNoHost, {header});
            continue;
        }
        if (empty > 0) c.add(line, LintRule::hostPatternEmpty, {header});
        if (taken == usable) {
            c.add(line, LintRule::hostBlockShadowed, {header, std::to_string(takenLine)});
        } else {
            for (const auto& [pattern, by] : takenPatterns)
                c.add(line, LintRule::hostPatternShadowed, {pattern, std::to_string(by)});
        }
    }
}
