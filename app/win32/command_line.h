// The text a process was given after its own program name.
#pragma once

// Skips the program name at the start of a full command line (quoted, or
// up to the first blank) and the blanks after it. Bytes of double-byte
// characters count as ordinary characters of the name.
const char* commandLineTail(const char* commandLine);
