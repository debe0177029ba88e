// A UTF-8 step for the converter under fuzzing. The real one goes through
// the system's code pages (iconv in the unit tests), far too slow to run
// millions of times; this one keeps the step's contract, which is all the
// converter relies on: the whole UTF-8 characters from the start taken
// (it stops at a broken one), at most two code page 932 bytes out for
// each, '?' for characters the code page lacks.
#pragma once
#include <cstddef>

std::size_t fuzzUtf8ToCp932(const char* utf8, std::size_t length, char* out, std::size_t* consumed);
