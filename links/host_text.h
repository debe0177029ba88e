// A URL's host name, given as characters, in the form Tavrin passes it on.
//
// A label that code page 932 holds keeps its bytes (a Japanese host name
// the browser converts itself). Any other is mapped as browsers map host
// names (UTS #46: capitals folded, compatibility forms such as fullwidth
// letters replaced, ignorables removed, NFC) and given in its ASCII form,
// "xn--" and Punycode where it is not ASCII. A label browsers would refuse
// (a disallowed character, a mark in front, the bidi rule broken, a
// joiner out of place) stays percent-escaped UTF-8, as it was given: a
// browser reads that as it reads the characters themselves.
#pragma once
#include <string>
#include <string_view>

// Labels are parted by '.', '。', '．' and '｡', which stay as they were.
std::string hostText(std::u32string_view host);

// Whether `c` parts the labels of a host name.
bool isHostSeparator(char32_t c);
