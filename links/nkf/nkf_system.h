// The UTF-8 step of the converter library on Windows: the system's own
// code pages.
#pragma once
#include <stddef.h>

namespace nkf {

// An nkf::Utf8Converter: MultiByteToWideChar from UTF-8, the code page's
// forms of a few characters, WideCharToMultiByte to code page 932 without
// best-fit guesses ('?' for what the code page lacks).
size_t systemUtf8ToCp932(const char* utf8, size_t length, char* out, size_t* consumed);

}  // namespace nkf
