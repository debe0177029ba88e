// The two things read from a page before its links: the base element and
// the title.
#pragma once
#include <string>
#include <string_view>

class PageTags;

// The URL of the page's first base element ("<base", blanks or line ends,
// 'href="') when its closing quote follows within 247 characters; empty
// otherwise.
std::string findBaseElement(std::string_view text);

// The text between the first "<title>" and the "</title>" after it, taken
// as it stands when it has at most 252 characters; empty otherwise.
std::string findPageTitle(std::string_view text);

// The same two, reading the page's noted tags.
std::string findBaseElement(std::string_view text, const PageTags& tags);
std::string findPageTitle(std::string_view text, const PageTags& tags);
