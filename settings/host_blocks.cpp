// Finding the host headers of a settings text.
#include "settings/host_blocks.h"

#include "settings/host_pattern.h"

std::vector<HostHeader> hostHeaders(std::string_view text) {
    return patternHeaders(text, hostHeaderKey);
}

const HostHeader* firstHostHeaderFor(const std::vector<HostHeader>& headers,
                                     std::string_view host) {
    if (host.empty()) return nullptr;
    for (const HostHeader& header : headers)
        if (header.closed && hostMatchesPatternList(host, header.patterns)) return &header;
    return nullptr;
}
