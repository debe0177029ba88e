// Where the anchor pass of the tag scan finds its tags: the starts of
// anchor tags ("<a ") and of their ends ("</a>"), any case. Both begin with
// '<', which is never the second byte of a character, so every '<' found
// begins one.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

class AnchorTags {
public:
    explicit AnchorTags(std::string_view text) : text_(text) {}

    // The first "<a " at or after `from`.
    std::size_t start(std::size_t from);
    // The first "</a>" after the '>' at `tagEnd`. Asked for anchors in the
    // order of the page.
    std::size_t endAfter(std::size_t tagEnd);

private:
    std::size_t findEnd(std::size_t from);

    std::string_view text_;
    // The last search for an end: where it began and what it found. Later
    // anchors whose '>' lies before that end share it; an anchor without
    // an end leaves every later anchor without one.
    std::size_t searchedFrom_ = std::string_view::npos;
    std::size_t found_ = std::string_view::npos;
    // The anchor starts that search passed: every start at or after
    // notedFrom_ and before notedUpTo_ is in `noted_`. An anchor without
    // an end has the search run to the end of the page, and the anchors
    // after it are then taken from here instead of being searched again.
    std::vector<std::size_t> noted_;
    std::size_t next_ = 0;  // the first of noted_ not yet passed
    std::size_t notedFrom_ = 0, notedUpTo_ = 0;
};
