// Finding the source headers of a settings text.
#include "settings/source_blocks.h"

#include "settings/source_pattern.h"

std::vector<PatternHeader> sourceHeaders(std::string_view text) {
    return patternHeaders(text, sourceHeaderKey);
}

const PatternHeader* firstSourceHeaderFor(const std::vector<PatternHeader>& headers,
                                          const SourceProgram& source) {
    if (!source.known()) return nullptr;
    for (const PatternHeader& header : headers)
        if (header.closed && sourceMatchesPatternList(source, header.patterns)) return &header;
    return nullptr;
}
