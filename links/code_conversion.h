// The Japanese code conversion of a read file through an outside library,
// "nkf32.dll" or else "jconv.dll" of the program's folder, each loaded for
// the one call.
#pragma once
#include "links/source_file.h"

// Converts the file's text into the work buffer as code page 932, unless
// it is code page 932 already. True when a library converted it; false
// when the text stays as read.
bool convertKanji(LinkSourceText& source);
