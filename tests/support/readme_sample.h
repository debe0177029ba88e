// The sample settings file of the project's README, read from the README
// itself when a test runs, so that the tests and the documentation never
// drift apart.
#pragma once
#include <string>

// The text of the README's first ```ini block (a fence at the start of a
// line), exactly as written (LF line ends); empty when the README cannot be
// read or has no such block.
std::string readmeSettingsSample();
// The first ```ini block of the README that holds `marker`, likewise.
std::string readmeIniBlockWith(const std::string& marker);
