// The text a process was given after its own program name.
#pragma once

// Skips the program name at the start of a full wide command line (quoted,
// or up to the first blank) and the blanks after it.
const wchar_t* commandLineTail(const wchar_t* commandLine);
