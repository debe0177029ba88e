// The text of the association menu's title item, which stands for the
// target itself: the expanded title template, shortened as the settings
// ask, with the count of further targets and the item's "&0" key.
#pragma once
#include <string>
#include <string_view>

// What the title item holds at most (259 characters).
constexpr std::size_t titleItemCapacity = 260;

// `title` is the expanded title template and `fallback` the target without
// its fragment, used when the title has fewer than 3 characters.
// titleLength above 0 keeps only the title's last that many characters.
// An "&" of the title shows as itself. A title too long for the item is cut
// at its end and marked "...", so that the count and the key stay whole.
std::string titleItemTextFor(std::string_view title, std::string_view fallback,
                             int titleLength, int urlCount);

// The same for the target in hand: the settings' title template and the
// current target, expanded with the URL parts.
std::string associationMenuTitle();
