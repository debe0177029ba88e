// Host-name labels as browsers read them: the UTS #46 mapping with the
// choices of the URL standard (no transitional mapping, no STD3 rules, no
// hyphen or length checks, but joiners and the bidi rule checked).
#pragma once
#include <string>
#include <string_view>

namespace idna {

// The label's characters mapped (capitals folded, compatibility forms
// such as fullwidth letters replaced, ignorables such as the soft hyphen
// and variation selectors removed) and put in NFC; false when it holds a
// character browsers refuse in a host name.
bool mapLabel(std::u32string_view label, std::u32string& out);

// Whether a mapped label may stand in a host name: it does not begin with
// a mark or with "xn--" (a label browsers would decode again), holds no
// character a URL's host cannot (a blank, '%', '/', ':', '<' ...), and has
// its joiners only where the script wants them.
bool isValidLabel(std::u32string_view mapped);

// Whether a mapped label holds a right-to-left character (or an Arabic
// digit), which subjects every label of its host to the bidi rule.
bool isRightToLeft(std::u32string_view mapped);
// The bidi rule for one label of such a host (RFC 5893, section 2).
bool meetsBidiRule(std::u32string_view mapped);

}  // namespace idna
