// The "[host:PATTERNS]" headers of a settings text: association blocks
// chosen by the host of a URL rather than by the extension of its path.
#pragma once
#include <string_view>
#include <vector>

#include "settings/pattern_headers.h"

using HostHeader = PatternHeader;

// The header text a host header is searched by.
constexpr std::string_view hostHeaderKey = "[host:";

// Every host header in file order. Like every block header a host header
// may stand anywhere in a line but never on a comment line.
std::vector<HostHeader> hostHeaders(std::string_view text);

// The first header whose patterns name `host`; null when none does (an
// empty host is named by no header). A header without its ']' names none.
const HostHeader* firstHostHeaderFor(const std::vector<HostHeader>& headers,
                                     std::string_view host);
