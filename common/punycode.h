// Punycode (RFC 3492), the ASCII form of an internationalised host-name
// label behind its "xn--" prefix (links/host_text.h).
#pragma once
#include <string>

namespace punycode {

// The Punycode of a label's characters (basic characters first, then the
// encoded rest); false only when the label is too long for the counters.
bool encode(const std::u32string& label, std::string& out);

}  // namespace punycode
