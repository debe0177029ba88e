// The pass that notes a page's tags. It tests sixteen positions at a time
// (32 where the processor has AVX2, a machine word at a time without SSE2)
// for '<' followed by the two bytes that tell the openings apart, and
// compares only those in full. An anchor's second byte after the 'a' is a
// blank or a control character (tab, CR, LF, told apart when noted); the
// other openings' first three bytes are letters or '/'.
#include "links/page_tags.h"

#include <algorithm>

#include "common/byte_words.h"
#include "common/text.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

// An opening: its name, then (for the elements that take attributes) one
// or more blanks, tabs or line ends, then for the base element the start
// of its attribute.
struct Opening {
    std::string_view name;
    bool spaceAfter;
    std::string_view attribute;
};
constexpr Opening openings[PageTags::kindCount] = {
    {"<a", true, ""}, {"</a>", false, ""}, {"<img", true, ""}, {"<title>", false, ""}, {"<base", true, "href=\""}};

// How many of each kind are noted: only the first title and base element
// count; the scan reads at most 500 links.
constexpr std::size_t limits[PageTags::kindCount] = {65536, 65536, 65536, 1, 1};
// How far back of a question before the notes they are taken anew.
constexpr std::size_t backwardStep = 65536;

inline bool tooLongForPositions(std::string_view text) {
    return (static_cast<std::uint64_t>(text.size()) >> 32) != 0;
}

inline bool isTagSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The openings hold no letter outside ASCII, so folding ASCII letters is
// the whole of the case-insensitive comparison.
inline bool namedAt(std::string_view text, std::size_t p, std::string_view name) {
    if (text.size() - p < name.size()) return false;
    for (std::size_t j = 0; j < name.size(); ++j) {
        unsigned char c = static_cast<unsigned char>(text[p + j]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c | 0x20);
        if (c != static_cast<unsigned char>(name[j])) return false;
    }
    return true;
}

// Which opening the two bytes after a '<' may begin. The second is folded
// to lower case (all of the openings' second and third bytes but the
// anchor's blank have the 0x20 bit set, so or-ing it in folds letters and
// leaves the rest); an anchor's third byte is taken as it stands.
int kindByPrefix(unsigned char second, unsigned char third) {
    switch (second | 0x20) {
    case 'a': return isTagSpace(third) ? PageTags::AnchorStart : -1;
    case '/': return (third | 0x20) == 'a' ? PageTags::AnchorEnd : -1;
    case 'i': return (third | 0x20) == 'm' ? PageTags::ImageStart : -1;
    case 't': return (third | 0x20) == 'i' ? PageTags::TitleStart : -1;
    case 'b': return (third | 0x20) == 'a' ? PageTags::BaseStart : -1;
    default: return -1;
    }
}

#if defined(__SSE2__)
// Positions of a block whose byte is '<' and whose next two bytes fit one
// of the openings' prefixes. Reads 18 bytes.
inline unsigned candidateMask(const unsigned char* p) {
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i b0 = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), fold);
    const __m128i lt = _mm_cmpeq_epi8(b0, _mm_set1_epi8('<'));
    if (_mm_movemask_epi8(lt) == 0) return 0;
    const __m128i b1 = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), fold);
    const __m128i raw2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
    const __m128i b2 = _mm_or_si128(raw2, fold);
    auto pair = [&](char second, char third) {
        return _mm_and_si128(_mm_cmpeq_epi8(b1, _mm_set1_epi8(second)), _mm_cmpeq_epi8(b2, _mm_set1_epi8(third)));
    };
    // "<a" before a byte at or below the blank.
    const __m128i controlOrBlank = _mm_cmpeq_epi8(_mm_min_epu8(raw2, fold), raw2);
    __m128i any = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(b1, _mm_set1_epi8('a')), controlOrBlank),
                               pair('/', 'a'));
    any = _mm_or_si128(any, _mm_or_si128(pair('i', 'm'), pair('t', 'i')));
    any = _mm_or_si128(any, pair('b', 'a'));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(lt, any)));
}
constexpr std::size_t blockWidth = 16;
constexpr unsigned flagShift = 0;
#else
// Without SSE2 a word tells the '<' bytes; the bytes after each are
// looked at one by one.
constexpr std::size_t blockWidth = sizeof(bytewords::Word);
constexpr unsigned flagShift = 3;
inline bytewords::Word candidateMask(const unsigned char* p) {
    using namespace bytewords;
    const Word differ = load(p) ^ (ones * '<');
    if (((differ - ones) & ~differ & highBits) == 0) return 0;
    return zeroBytes(differ);
}
#endif

// The same, 32 positions at a time, for processors that have AVX2 (the
// program is built for those without; it asks the processor at run time).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#define PAGE_TAGS_WIDE 1
__attribute__((target("avx2"))) std::size_t wideBlocks(const unsigned char* data, std::size_t from,
                                                        std::size_t size, const PageTags& tags,
                                                        bool (*note)(const PageTags&, std::size_t)) {
    const __m256i fold = _mm256_set1_epi8(0x20), lessThan = _mm256_set1_epi8('<');
    const __m256i a = _mm256_set1_epi8('a'), slash = _mm256_set1_epi8('/');
    const __m256i i_ = _mm256_set1_epi8('i'), m = _mm256_set1_epi8('m'), t = _mm256_set1_epi8('t');
    const __m256i b = _mm256_set1_epi8('b');
    std::size_t i = from;
    for (; size - i >= 32 + 2; i += 32) {
        const unsigned char* p = data + i;
        const __m256i b0 = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), fold);
        const __m256i lt = _mm256_cmpeq_epi8(b0, lessThan);
        if (_mm256_movemask_epi8(lt) == 0) continue;
        const __m256i b1 = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1)), fold);
        const __m256i raw2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 2));
        const __m256i b2 = _mm256_or_si256(raw2, fold);
        // "<a" before a blank or a control byte; "</a" and "<ba" (both
        // 'a' third), "<im", "<ti".
        const __m256i thirdA = _mm256_cmpeq_epi8(b2, a);
        const __m256i controlOrBlank = _mm256_cmpeq_epi8(_mm256_min_epu8(raw2, fold), raw2);
        __m256i any = _mm256_and_si256(_mm256_cmpeq_epi8(b1, a), controlOrBlank);
        any = _mm256_or_si256(any, _mm256_and_si256(_mm256_or_si256(_mm256_cmpeq_epi8(b1, slash),
                                                                      _mm256_cmpeq_epi8(b1, b)), thirdA));
        any = _mm256_or_si256(any, _mm256_and_si256(_mm256_cmpeq_epi8(b1, i_), _mm256_cmpeq_epi8(b2, m)));
        any = _mm256_or_si256(any, _mm256_and_si256(_mm256_cmpeq_epi8(b1, t), _mm256_cmpeq_epi8(b2, i_)));
        for (auto mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(lt, any))); mask != 0;
             mask &= mask - 1)
            if (!note(tags, i + static_cast<std::size_t>(__builtin_ctz(mask)))) return size;
    }
    return i;
}
#endif

}  // namespace

// What the pass over the blocks is given to note with.
struct PageTagsPass {
    static bool note(const PageTags& tags, std::size_t p) { return tags.note(p); }
};

std::size_t PageTags::openingAt(std::string_view text, std::size_t p, Kind kind) {
    const Opening& opening = openings[kind];
    if (p > text.size() || !namedAt(text, p, opening.name)) return 0;
    std::size_t end = p + opening.name.size();
    if (!opening.spaceAfter) return end - p;
    if (end == text.size() || !isTagSpace(static_cast<unsigned char>(text[end]))) return 0;
    if (opening.attribute.empty()) return end + 1 - p;
    while (end < text.size() && isTagSpace(static_cast<unsigned char>(text[end]))) ++end;
    return namedAt(text, end, opening.attribute) ? end + opening.attribute.size() - p : 0;
}

std::size_t PageTags::search(std::string_view text, Kind kind, std::size_t from) {
    const std::string_view name = openings[kind].name;
    for (std::size_t p = text::findNoCase(text, name, from); p != text::npos;
         p = text::findNoCase(text, name, p + 1)) {
        if (openingAt(text, p, kind) != 0) return p;
    }
    return text::npos;
}

PageTags::PageTags(std::string_view text) : text_(text) {
    for (std::size_t k = 0; k < kindCount; ++k) {
        from_[k] = 0;
        upTo_[k] = text.size();
    }
    if (!tooLongForPositions(text)) notePass(0, text.size(), kindCount);
}

void PageTags::notePass(std::size_t from, std::size_t end, int only) const {
    only_ = only;
    end_ = end;
    full_ = false;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text_.data());
    const std::size_t size = text_.size();
    std::size_t i = from;
#if defined(PAGE_TAGS_WIDE)
    if (__builtin_cpu_supports("avx2"))
        i = wideBlocks(data, i, size, *this, PageTagsPass::note);
#endif
    for (; !full_ && size - i >= blockWidth + 2; i += blockWidth) {
        for (auto mask = candidateMask(data + i); mask != 0 && !full_; mask &= mask - 1)
            note(i + bytewords::lowestFlag(mask, flagShift));
    }
    for (; !full_ && i < size; ++i) {
        if (data[i] == '<') note(i);
    }
}

bool PageTags::note(std::size_t p) const {
    if (p >= end_) {
        full_ = true;
        return false;
    }
    if (p + 2 >= text_.size()) return true;
    const int kind =
        kindByPrefix(static_cast<unsigned char>(text_[p + 1]), static_cast<unsigned char>(text_[p + 2]));
    if (kind < 0 || (only_ != kindCount && kind != only_)) return true;
    std::vector<Position>& noted = noted_[kind];
    if (noted.size() == limits[kind] || openingAt(text_, p, static_cast<Kind>(kind)) == 0) return true;
    noted.push_back(static_cast<Position>(p));
    if (noted.size() < limits[kind]) return true;
    upTo_[kind] = p + 1;
    // A pass for one kind ends when its notes are full, the pass for all
    // of them when every kind's are.
    full_ = true;
    if (only_ == kindCount)
        for (std::size_t k = 0; k < kindCount; ++k) full_ = full_ && noted_[k].size() == limits[k];
    return !full_;
}

std::size_t PageTags::find(Kind kind, std::size_t from) const {
    if (from >= text_.size()) return text::npos;
    if (tooLongForPositions(text_)) return search(text_, kind, from);
    std::vector<Position>& noted = noted_[kind];
    if (from >= upTo_[kind]) {
        // Past the notes: note this kind anew from here.
        noted.clear();
        from_[kind] = from;
        upTo_[kind] = text_.size();
        notePass(from, text_.size(), kind);
    } else if (from < from_[kind]) {
        // Before them: the stretch in between first, then as many of those
        // noted as the limit leaves room for. The stretch reaches back a
        // whole step, so that questions walking backwards rarely ask again.
        std::vector<Position> later;
        later.swap(noted);
        const std::size_t laterUpTo = upTo_[kind];
        const std::size_t start = from - from % backwardStep;
        notePass(start, from_[kind], kind);
        from_[kind] = start;
        // A stretch that filled the notes has set upTo_ past its last.
        if (noted.size() < limits[kind]) {
            const std::size_t room = limits[kind] - noted.size();
            if (later.size() <= room) {
                noted.insert(noted.end(), later.begin(), later.end());
                upTo_[kind] = laterUpTo;
            } else {
                noted.insert(noted.end(), later.begin(), later.begin() + static_cast<std::ptrdiff_t>(room));
                upTo_[kind] = noted.back() + 1;
            }
        }
    }
    const auto at = std::lower_bound(noted.begin(), noted.end(), from);
    if (at != noted.end()) return *at;
    if (upTo_[kind] == text_.size()) return text::npos;
    // (A stretch taken back from a question may have filled the notes
    // before it.)
    return find(kind, std::max(from, upTo_[kind]));
}
