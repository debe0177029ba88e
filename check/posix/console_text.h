// Text between the check tool and a POSIX terminal: Tavrin's code holds
// code page 932; output goes back as UTF-8.
#pragma once
#include <memory>
#include <string>

#include "platform/converter_library.h"

// Code page 932 text as UTF-8; a byte that is no character of the code page
// becomes U+FFFD.
std::string cp932ToUtf8(const std::string& text);

// Tavrin's code converter "nkf32.dll" for the native build: the same
// detection and conversion, with iconv doing its UTF-8 step. Null for any
// other library name.
std::unique_ptr<platform::ConverterLibrary> builtinConverter(const std::string& path);
