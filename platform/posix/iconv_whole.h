// Converting a whole text with iconv, the native stand-in for the system's
// code pages (the POSIX platform and the native check tool).
#pragma once
#include <iconv.h>

#include <string>
#include <string_view>

namespace platform {

// `in` converted by `cd` from its initial state; false when any of it does
// not convert, or when `cd` is not open.
bool iconvWhole(iconv_t cd, std::string_view in, std::string& out);

}  // namespace platform
