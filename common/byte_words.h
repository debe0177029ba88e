// Tests of many bytes at once for the searches over whole pages: a block
// of the text is loaded into registers and every byte of it compared in a
// few instructions, so a page of many megabytes is read about as fast as
// memory delivers it. Sixteen bytes at a time with SSE2 where the compiler
// has it, otherwise a machine word at a time with plain integer arithmetic
// (the 32-bit Windows program). Header-only and free of the C++ runtime, so
// that the converter library can use it too.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "byte positions are read from the low end");

namespace bytewords {

typedef uintptr_t Word;
const Word ones = ~static_cast<Word>(0) / 0xFF;  // 0x01 in every byte
const Word highBits = ones * 0x80;
const Word lowBits = ones * 0x7F;

inline Word load(const unsigned char* p) {
    Word w;
    memcpy(&w, p, sizeof w);
    return w;
}

// 0x80 in every byte of x that is zero and in no other (no borrow crosses
// from one byte into the next).
inline Word zeroBytes(Word x) { return ~(((x & lowBits) + lowBits) | x | lowBits); }

// 0x80 in every byte of w that is `folded`, or for a lower-case letter
// either case of it ('A' | 0x20 is 'a', and only 'A' and 'a' give 'a').
inline Word foldedBytes(Word w, unsigned char folded) {
    if (folded >= 'a' && folded <= 'z') w |= ones * 0x20;
    return zeroBytes(w ^ (ones * folded));
}

// Where the first bytes of a needle begin: a mask with one flag for each
// position of a block of `width` positions whose byte and the one or two
// after it fold to the needle's first two or three bytes. Reads width + 2
// bytes (width + 1 for a two-byte prefix).
struct PrefixBlock {
#if defined(__SSE2__)
    static const size_t width = 16;
    static const unsigned shift = 0;  // a flag is bit i of the mask
    typedef unsigned Mask;
    PrefixBlock(const unsigned char* folded, size_t count) : count_(count) {
        for (size_t j = 0; j < count && j < 3; ++j) {
            byte_[j] = _mm_set1_epi8(static_cast<char>(folded[j]));
            case_[j] = _mm_set1_epi8(folded[j] >= 'a' && folded[j] <= 'z' ? 0x20 : 0);
        }
    }
    Mask mask(const unsigned char* p) const {
        __m128i all = equal(p, 0);
        all = _mm_and_si128(all, equal(p, 1));
        if (count_ > 2) all = _mm_and_si128(all, equal(p, 2));
        return static_cast<Mask>(_mm_movemask_epi8(all));
    }

private:
    __m128i equal(const unsigned char* p, size_t j) const {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + j));
        return _mm_cmpeq_epi8(_mm_or_si128(w, case_[j]), byte_[j]);
    }
    size_t count_;
    __m128i byte_[3], case_[3];
#else
    static const size_t width = sizeof(Word);
    static const unsigned shift = 3;  // a flag is bit 8 * i + 7 of the mask
    typedef Word Mask;
    PrefixBlock(const unsigned char* folded, size_t count) : count_(count) {
        for (size_t j = 0; j < count && j < 3; ++j) {
            byte_[j] = ones * folded[j];
            case_[j] = folded[j] >= 'a' && folded[j] <= 'z' ? ones * 0x20 : 0;
        }
    }
    // A position's bytes all fit where the differences, taken together,
    // leave a zero byte. Most words of a page hold no first byte at all:
    // a quicker test that may flag too much, never too little, passes them.
    Mask mask(const unsigned char* p) const {
        Word differ = (load(p) | case_[0]) ^ byte_[0];
        if (((differ - ones) & ~differ & highBits) == 0) return 0;
        differ |= (load(p + 1) | case_[1]) ^ byte_[1];
        if (count_ > 2) differ |= (load(p + 2) | case_[2]) ^ byte_[2];
        return zeroBytes(differ);
    }

private:
    size_t count_;
    Word byte_[3], case_[3];
#endif
};

// Position of the lowest flag of a non-zero mask.
template <typename Mask>
inline size_t lowestFlag(Mask m, unsigned shift) {
    return static_cast<size_t>(sizeof(Mask) > sizeof(unsigned) ? __builtin_ctzll(m) : __builtin_ctz(m)) >>
           shift;
}

// The end of the run of ASCII bytes (below 0x80) that starts at `from`:
// the position of the first byte at or above 0x80, or `length`.
inline size_t asciiRunEnd(const unsigned char* text, size_t from, size_t length) {
    size_t i = from;
    for (; length - i >= 4 * sizeof(Word); i += 4 * sizeof(Word)) {
        const Word any = load(text + i) | load(text + i + sizeof(Word)) | load(text + i + 2 * sizeof(Word)) |
                         load(text + i + 3 * sizeof(Word));
        if (any & highBits) break;
    }
    while (i < length && text[i] < 0x80) ++i;
    return i;
}

}  // namespace bytewords
