// Finding the host headers of a settings text.
#include "settings/host_blocks.h"

#include <utility>

#include "common/text.h"
#include "settings/host_pattern.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"

std::vector<HostHeader> hostHeaders(std::string_view text) {
    std::vector<HostHeader> headers;
    for (const std::size_t at : findAllSettingsKeys(text, hostHeaderKey)) {
        // The header's line as every block reader sees it: CR and TAB gone,
        // at most 517 characters.
        const std::string line = settingsLineText(text, at);
        HostHeader header;
        header.at = at;
        header.exclusive = !line.empty() && line.back() == '#';
        const std::string_view rest = std::string_view(line).substr(hostHeaderKey.size());
        const std::size_t close = text::findByte(rest, ']');
        header.closed = close != text::npos;
        header.patterns = std::string(header.closed ? rest.substr(0, close) : rest);
        headers.push_back(std::move(header));
    }
    return headers;
}

const HostHeader* firstHostHeaderFor(const std::vector<HostHeader>& headers,
                                     std::string_view host) {
    if (host.empty()) return nullptr;
    for (const HostHeader& header : headers)
        if (header.closed && hostMatchesPatternList(host, header.patterns)) return &header;
    return nullptr;
}
