// The "[from:PATTERNS]" headers of a settings text: association blocks
// chosen by the program a link came from, before host and extension blocks.
#pragma once
#include <string_view>
#include <vector>

#include "common/source_program.h"
#include "settings/pattern_headers.h"

// The header text a source header is searched by.
constexpr std::string_view sourceHeaderKey = "[from:";

// Every source header in file order.
std::vector<PatternHeader> sourceHeaders(std::string_view text);

// The first header whose patterns name `source`; null when none does (a
// source that is not known is named by no header). A header without its
// ']' names none.
const PatternHeader* firstSourceHeaderFor(const std::vector<PatternHeader>& headers,
                                          const SourceProgram& source);
