// Text read from the system (UTF-8) as Tavrin's settings file and the
// tool's output hold it: code page 932, with '?' for each character the
// code page lacks, as Tavrin passes on such a character elsewhere.
#pragma once
#include <string>
#include <string_view>

// Every character the code page holds keeps its bytes; one it lacks, a
// control character and a byte that begins no UTF-8 character become '?'.
// `lost` (when given) is set once any did.
std::string cp932Text(std::string_view utf8, bool* lost = nullptr);
// Text from the system (a name, a path, a registry value) as the tool's
// words show it.
std::string shownText(std::string_view utf8);
