// The tag scan that turns a page's text into the list of its links: anchor
// hrefs with their anchor texts, then image sources with their alt texts.
// It is a substring search over the text, not an HTML parser.
#pragma once
#include <string>
#include <string_view>

class PageTags;

// Most links one scan records.
constexpr int maxScannedLinks = 500;

// Replaces urlList with the links of `text` (which ends at its first zero
// byte): every anchor first, then the images, at most 500 in all. Mode 1
// resolves relative links against baseUrl (which keeps the slashes the
// resolution gives it); any other mode drops them.
void scanLinks(std::string_view text, std::string& baseUrl, int mode);

// The same over text that holds no zero byte, with its tags already noted.
void scanLinks(std::string_view text, const PageTags& tags, std::string& baseUrl, int mode);
