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
#include <cstdint>
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
    // Notes the openings in [from, end): of every kind, or of the one kind
    // `only` (when it is not kindCount), until the notes are full.
    void notePass(std::size_t from, std::size_t end, int only) const;
    // Notes an occurrence of an opening at p, if one is there; false once
    // the pass has noted all it may.
    bool note(std::size_t p) const;

    std::string_view text_;
    // Every occurrence in [from_, upTo_) is in noted_. A list stops at its
    // limit (a page of nothing but tags would otherwise need more memory
    // than itself); a question past it notes that kind anew from there, so
    // the passes of the scan, which ask forwards, read each opening of the
    // page once however many it has; one before it notes the stretch in
    // between.
    // Positions in four bytes: never more than the page's own bytes, as
    // an opening has three at least. A text too long for them is searched.
    using Position = std::uint32_t;
    mutable std::vector<Position> noted_[kindCount];
    mutable std::size_t from_[kindCount], upTo_[kindCount];
    mutable int only_ = kindCount;
    mutable std::size_t end_ = 0;
    mutable bool full_ = false;
};
