// The UTF-8 step of the converter's page conversion off Windows: iconv
// stands in for the system's code pages, with the same steps as the
// library's own (links/nkf/nkf_system.h), so that native tools and tests
// convert pages exactly as nkf32.dll does.
#pragma once
#include <stddef.h>

namespace nkf {

// An nkf::Utf8Converter: UTF-8 to UTF-16, the code page's forms of a few
// characters, then each unit to code page 932 with '?' for what it lacks.
size_t iconvUtf8ToCp932(const char* utf8, size_t length, char* out, size_t* consumed);

}  // namespace nkf
