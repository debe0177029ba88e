// The anchor pass's searches. The search for an anchor's end notes the
// anchor starts it passes: on a page whose anchors never close it runs to
// the end of the page once, and the anchors are then read from its notes
// rather than by a second pass over the page.
#include "links/anchor_tags.h"

#include "common/byte_words.h"
#include "common/text.h"

namespace {
constexpr std::string_view openTag = "<a ";
constexpr std::string_view endTag = "</a>";
// Notes kept from one search; anchors past them are searched for as usual.
constexpr std::size_t maxNoted = 1024;
}  // namespace

std::size_t AnchorTags::start(std::size_t from) {
    if (from >= notedFrom_ && from < notedUpTo_) {
        while (next_ < noted_.size() && noted_[next_] < from) ++next_;
        if (next_ < noted_.size()) return noted_[next_];
        from = notedUpTo_;
    }
    return text::findNoCase(text_, openTag, from);
}

std::size_t AnchorTags::endAfter(std::size_t tagEnd) {
    const std::size_t from = tagEnd + 1;
    const bool remembered = searchedFrom_ != text::npos && from >= searchedFrom_ &&
                            (found_ == text::npos || found_ >= from);
    if (!remembered) {
        // No anchor starts at the '>' itself: the notes cover it too.
        noted_.clear();
        next_ = 0;
        notedFrom_ = tagEnd;
        found_ = findEnd(from);
        searchedFrom_ = from;
        if (noted_.size() == maxNoted) notedUpTo_ = noted_.back() + 1;
        else notedUpTo_ = found_ == text::npos ? text_.size() : found_;
    }
    return found_;
}

std::size_t AnchorTags::findEnd(std::size_t from) {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text_.data());
    const std::size_t size = text_.size();
    const unsigned char openPrefix[3] = {'<', 'a', ' '}, endPrefix[3] = {'<', '/', 'a'};
    const bytewords::PrefixBlock opens(openPrefix, 3), ends(endPrefix, 3);
    auto note = [&](std::size_t p) {
        if (noted_.size() < maxNoted) noted_.push_back(p);
    };
    using Block = bytewords::PrefixBlock;
    std::size_t i = from;
    // A block reads the two bytes after its last position. Its flags are
    // exact: "</a" (an end when '>' follows) or "<a ".
    for (; i + Block::width + 2 <= size; i += Block::width) {
        for (auto mask = opens.mask(data + i) | ends.mask(data + i); mask != 0; mask &= mask - 1) {
            const std::size_t p = i + bytewords::lowestFlag(mask, Block::shift);
            if (data[p + 1] != '/') note(p);
            else if (p + 3 < size && data[p + 3] == '>') return p;
        }
    }
    for (; i < size; ++i) {
        const std::string_view rest = text_.substr(i);
        if (text::startsWithNoCase(rest, endTag)) return i;
        if (text::startsWithNoCase(rest, openTag)) note(i);
    }
    return text::npos;
}
