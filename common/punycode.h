// The ASCII form of an internationalised host-name label: Punycode
// (RFC 3492) behind the "xn--" prefix, as browsers send such names.
#pragma once
#include <string>

namespace punycode {

// The Punycode of a label's characters (basic characters first, then the
// encoded rest); false only when the label is too long for the counters.
bool encode(const std::u32string& label, std::string& out);

// Lower case of the letters browsers fold before encoding a label: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic capitals. Others stay.
char32_t lowerCase(char32_t c);

// "xn--" and the Punycode of the label, its letters folded to lower case;
// false when it cannot be encoded.
bool labelToAscii(const std::u32string& label, std::string& out);

}  // namespace punycode
