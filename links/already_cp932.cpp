// A page is mostly ASCII, so one quick pass tells most pages: no byte at
// or above 0x80, no ESC and no SO. Only a page with such bytes is handed
// to the converter's own detection of its encoding.
#include "links/already_cp932.h"

#include <cstddef>

#include "common/byte_words.h"
#include "links/nkf/nkf_detect.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr unsigned char escape = 0x1B, shiftOut = 0x0E;

#if defined(__SSE2__)
// Whether any of the 64 bytes at p is high, ESC or SO.
inline bool blockHasSwitches(const unsigned char* p) {
    const __m128i esc = _mm_set1_epi8(static_cast<char>(escape)), so = _mm_set1_epi8(static_cast<char>(shiftOut));
    __m128i any = _mm_setzero_si128();
    for (int j = 0; j < 4; ++j) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * j));
        any = _mm_or_si128(any, _mm_or_si128(v, _mm_or_si128(_mm_cmpeq_epi8(v, esc), _mm_cmpeq_epi8(v, so))));
    }
    return _mm_movemask_epi8(any) != 0;
}
constexpr std::size_t blockBytes = 64;
#else
inline bool blockHasSwitches(const unsigned char* p) {
    using namespace bytewords;
    const Word w = load(p);
    return ((w & highBits) | zeroBytes(w ^ (ones * escape)) | zeroBytes(w ^ (ones * shiftOut))) != 0;
}
constexpr std::size_t blockBytes = sizeof(bytewords::Word);
#endif

bool isPlainAscii(const unsigned char* text, std::size_t length) {
    std::size_t i = 0;
    for (; length - i >= blockBytes; i += blockBytes)
        if (blockHasSwitches(text + i)) return false;
    for (; i < length; ++i)
        if (text[i] >= 0x80 || text[i] == escape || text[i] == shiftOut) return false;
    return true;
}

}  // namespace

bool isAlreadyCp932(std::string_view text) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (isPlainAscii(bytes, text.size())) return true;
    std::size_t bom = 0;
    const nkf::Encoding from = nkf::detectEncoding(bytes, text.size(), &bom);
    return bom == 0 && (from == nkf::encodingShiftJis || from == nkf::encodingAscii);
}
