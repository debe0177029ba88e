// Host blocks and source blocks: patterns that name nothing, empty ones,
// and patterns (or whole blocks) that an earlier block of the same kind
// takes first. The headers are those Tavrin's own scan finds, in its order:
// the first block naming a host, or a program, wins.
#include <string>
#include <utility>
#include <vector>

#include "check/lint_context.h"
#include "common/text.h"
#include "settings/host_blocks.h"
#include "settings/host_pattern.h"
#include "settings/pattern_headers.h"
#include "settings/source_blocks.h"
#include "settings/source_pattern.h"

namespace {

enum class PatternUse { usable, empty, malformed };

struct PatternBlockKind {
    std::string_view key;
    LintRule malformed, empty, namesNothing, patternShadowed, blockShadowed;
    PatternUse (*use)(std::string_view pattern);
    bool (*covers)(std::string_view earlier, std::string_view later);
    // A note on a usable pattern that still names nothing one would want.
    void (*note)(LintContext& c, int line, std::string_view pattern);
};

PatternUse hostUse(std::string_view pattern) {
    switch (hostPatternForm(pattern)) {
        case HostPatternForm::empty: return PatternUse::empty;
        case HostPatternForm::malformed: return PatternUse::malformed;
        default: return PatternUse::usable;
    }
}

PatternUse sourceUse(std::string_view pattern) {
    switch (sourcePatternForm(pattern)) {
        case SourcePatternForm::empty: return PatternUse::empty;
        case SourcePatternForm::malformed: return PatternUse::malformed;
        default: return PatternUse::usable;
    }
}

// A program's file name has an extension: "outlook" names no program.
void sourceNote(LintContext& c, int line, std::string_view pattern) {
    if (sourcePatternForm(pattern) != SourcePatternForm::name) return;
    std::string_view p = pattern;
    while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
    while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
    if (text::findByte(p, '.') == text::npos && text::findByte(p, '*') == text::npos)
        c.add(line, LintRule::sourcePatternWithoutExtension, {std::string(p)});
}

const PatternBlockKind hostBlocks{hostHeaderKey,
                                  LintRule::hostPatternMalformed,
                                  LintRule::hostPatternEmpty,
                                  LintRule::hostBlockNamesNoHost,
                                  LintRule::hostPatternShadowed,
                                  LintRule::hostBlockShadowed,
                                  hostUse,
                                  hostPatternCovers,
                                  nullptr};
const PatternBlockKind sourceBlocks{sourceHeaderKey,
                                    LintRule::sourcePatternMalformed,
                                    LintRule::sourcePatternEmpty,
                                    LintRule::sourceBlockNamesNoProgram,
                                    LintRule::sourcePatternShadowed,
                                    LintRule::sourceBlockShadowed,
                                    sourceUse,
                                    sourcePatternCovers,
                                    sourceNote};

std::string headerText(const PatternBlockKind& kind, const PatternHeader& h) {
    return std::string(kind.key) + h.patterns + "]";
}

// The line of the first earlier closed header with a pattern covering
// `pattern`; 0 when none does.
int takenBy(const LintContext& c, const PatternBlockKind& kind, const std::vector<PatternHeader>& headers,
            std::size_t index, std::string_view pattern) {
    for (std::size_t i = 0; i < index; ++i) {
        if (!headers[i].closed) continue;
        for (std::string_view earlier : splitPatternList(headers[i].patterns))
            if (kind.covers(earlier, pattern)) return c.lineOf(headers[i].at);
    }
    return 0;
}

void lintPatternBlocks(LintContext& c, const PatternBlockKind& kind) {
    const std::vector<PatternHeader> headers = patternHeaders(c.searched, kind.key);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const PatternHeader& h = headers[i];
        if (!h.closed) continue;  // reported with the other headers
        const int line = c.lineOf(h.at);
        const std::string header = headerText(kind, h);
        int usable = 0, empty = 0, taken = 0, takenLine = 0;
        std::vector<std::pair<std::string, int>> takenPatterns;
        for (std::string_view pattern : splitPatternList(h.patterns)) {
            const PatternUse use = kind.use(pattern);
            if (use == PatternUse::empty) {
                ++empty;
                continue;
            }
            if (use == PatternUse::malformed) {
                c.add(line, kind.malformed, {std::string(pattern), header});
                continue;
            }
            ++usable;
            if (kind.note) kind.note(c, line, pattern);
            if (const int by = takenBy(c, kind, headers, i, pattern)) {
                ++taken;
                if (takenLine == 0) takenLine = by;
                takenPatterns.emplace_back(std::string(pattern), by);
            }
        }
        if (usable == 0) {
            c.add(line, kind.namesNothing, {header});
            continue;
        }
        if (empty > 0) c.add(line, kind.empty, {header});
        if (taken == usable) {
            c.add(line, kind.blockShadowed, {header, std::to_string(takenLine)});
        } else {
            for (const auto& [pattern, by] : takenPatterns)
                c.add(line, kind.patternShadowed, {pattern, std::to_string(by)});
        }
    }
}

}  // namespace

void lintHostBlocks(LintContext& c) { lintPatternBlocks(c, hostBlocks); }

void lintSourceBlocks(LintContext& c) { lintPatternBlocks(c, sourceBlocks); }
