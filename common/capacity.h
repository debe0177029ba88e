// Buffer capacities shared across the program. Each counts bytes including
// the terminating zero of the fixed buffers the format was designed around,
// so a capacity of 260 holds 259 characters.
#pragma once
#include <cstddef>

namespace cap {
constexpr std::size_t path = 260;          // paths, titles, URL parts, values
constexpr std::size_t url = 520;           // UrlEntry::url, programPath
constexpr std::size_t scheme = 32;         // UrlEntry::scheme, UrlParts::scheme
constexpr std::size_t token = 1040;        // one recognised token
constexpr std::size_t transfer = 30160;    // hand-off payload, clipboard copy
constexpr std::size_t settingsLine = 518;  // one settings line (517 characters)
constexpr std::size_t expansion = 521;     // expandFolderAndDate's result
constexpr std::size_t lastExpansion = 1041;  // what lastExpansion keeps
constexpr std::size_t workText = 1300;     // expansion working text
constexpr std::size_t separator = 32;      // "@dlm=" / "@dlm2=" slots
constexpr std::size_t listItem = 32;       // "@search=" / "@dde=" items
constexpr std::size_t filterItem = 11;     // filter group items
constexpr std::size_t paramName = 20;      // user parameter names
constexpr std::size_t searchPathList = 5201;  // "@path=" list
constexpr std::size_t className = 128;     // GetClassNameA buffer
constexpr std::size_t serviceName = 32;    // browserServiceName
}  // namespace cap
