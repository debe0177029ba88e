// Where the reading of a page finds its tags: the starts of anchors ("<a"),
// of their ends ("</a>"), of images ("<img"), of the title ("<title>") and
// of the base element ("<base" with its 'href="'), any case. An anchor, an
// image or a base element opens with its name and a blank, a tab, a CR or
// an LF, as editors break tags after their names; "<abbr>", "<address>" or
// "<image>" open none. All begin with '<', which is never the second byte
// of a character, so every '<' found begins one. One pass over the page
// notes them all, so that the base element, the title and the two passes
// of the tag scan read the notes instead of searching the whole page four
// times over.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

class PageTags {
public:
    enum Kind { AnchorStart, AnchorEnd, ImageStart, TitleStart, BaseStart, kindCount };

    explicit PageTags(std::string_view text);

    // The first occurrence of the kind's opening at or after `from`, or npos.
    std::size_t find(Kind kind, std::size_t from) const;

    // The length of the kind's opening at p of the text ("<a" and its
    // blank; for the base element up to and including the quote after
    // "href="), or 0 when none begins there.
    static std::size_t openingAt(std::string_view text, std::size_t p, Kind kind);
    // The same first occurrence as find() by searching the text, as the
    // notes answer beyond their limits.
    static std::size_t search(std::string_view text, Kind kind, std::size_t from);

private:
    friend struct PageTagsPass;
    // Notes an occurrence of an opening at p, if one is there.
    void note(std::size_t p);

    std::string_view text_;
    // Every occurrence below upTo_ is in noted_. A list stops at its limit
    // (a page of nothing but tags would otherwise need more memory than
    // itself); later ones are searched for as they are asked for.
    std::vector<std::size_t> noted_[kindCount];
    std::size_t upTo_[kindCount];
};
