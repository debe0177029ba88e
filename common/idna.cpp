// Mapping and checking one label; the tables are common/idna_tables.cpp.
#include "common/idna.h"

#include "common/idna_data.h"
#include "common/nfc.h"

namespace idna {

namespace {

constexpr char32_t zwnj = 0x200C, zwj = 0x200D;
constexpr unsigned virama = 9;

// What the URL standard refuses in a domain once it is mapped.
bool isForbidden(char32_t c) {
    if (c < 0x20 || c == 0x7F) return true;
    switch (c) {
        case ' ': case '#': case '%': case '/': case ':': case '<': case '>': case '?':
        case '@': case '[': case '\\': case ']': case '^': case '|': case '.':
            return true;
        default: return false;
    }
}

// RFC 5892, appendix A.1 and A.2.
bool joinerAllowed(std::u32string_view s, std::size_t i) {
    if (i > 0 && propertiesOf(s[i - 1]).combiningClass == virama) return true;
    if (s[i] == zwj) return false;
    // (L|D) T* ZWNJ T* (R|D)
    std::size_t k = i;
    Joining before = Joining::transparent;
    while (k > 0 && (before = propertiesOf(s[k - 1]).joining) == Joining::transparent) --k;
    if (k == 0 || (before != Joining::left && before != Joining::dual)) return false;
    k = i + 1;
    Joining after = Joining::transparent;
    while (k < s.size() && (after = propertiesOf(s[k]).joining) == Joining::transparent) ++k;
    return k < s.size() && (after == Joining::right || after == Joining::dual);
}

}  // namespace

bool mapLabel(std::u32string_view label, std::u32string& out) {
    out.clear();
    for (char32_t c : label) {
        switch (mapCharacter(c, out)) {
            case Mapping::valid: out += c; break;
            case Mapping::disallowed: return false;
            case Mapping::ignored:
            case Mapping::mapped: break;
        }
    }
    toNfc(out);
    // Composition may make a character that is refused on its own.
    std::u32string scratch;
    for (char32_t c : out)
        if (mapCharacter(c, scratch) != Mapping::valid) return false;
    return true;
}

bool isValidLabel(std::u32string_view s) {
    if (s.empty()) return true;
    if (propertiesOf(s[0]).mark) return false;
    if (s.size() >= 4 && (s[0] == 'x') && s[1] == 'n' && s[2] == '-' && s[3] == '-') return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isForbidden(s[i])) return false;
        if ((s[i] == zwnj || s[i] == zwj) && !joinerAllowed(s, i)) return false;
    }
    return true;
}

bool isRightToLeft(std::u32string_view s) {
    for (char32_t c : s) {
        const Bidi b = propertiesOf(c).bidi;
        if (b == Bidi::R || b == Bidi::AL || b == Bidi::AN) return true;
    }
    return false;
}

bool meetsBidiRule(std::u32string_view s) {
    if (s.empty()) return true;
    const Bidi first = propertiesOf(s[0]).bidi;
    if (first != Bidi::L && first != Bidi::R && first != Bidi::AL) return false;
    const bool rtl = first != Bidi::L;
    bool en = false, an = false;
    // The last character that is not a mark (NSM) decides how it ends.
    Bidi end = first;
    for (char32_t c : s) {
        const Bidi b = propertiesOf(c).bidi;
        switch (b) {
            case Bidi::L: if (rtl) return false; break;
            case Bidi::R: case Bidi::AL: case Bidi::AN: if (!rtl) return false; break;
            case Bidi::EN: case Bidi::ES: case Bidi::CS: case Bidi::ET: case Bidi::ON: case Bidi::BN:
            case Bidi::NSM: break;
            default: return false;
        }
        en = en || b == Bidi::EN;
        an = an || b == Bidi::AN;
        if (b != Bidi::NSM) end = b;
    }
    if (rtl)
        return (end == Bidi::R || end == Bidi::AL || end == Bidi::EN || end == Bidi::AN) && !(en && an);
    return end == Bidi::L || end == Bidi::EN;
}

}  // namespace idna
