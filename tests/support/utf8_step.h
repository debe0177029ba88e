// The converter library's work for tests: its UTF-8 step (under Windows
// the library's own, through the system's code pages; elsewhere the same
// steps through iconv) and the whole of NkfConvert on a page.
#pragma once
#include <string>

#include "links/nkf/nkf_convert.h"

nkf::Utf8Converter testUtf8Step();
// What NkfConvert writes for `page` (up to its first zero byte).
std::string convertLikeNkf32(const std::string& page);
