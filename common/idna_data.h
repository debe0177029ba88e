// Lookups in the generated host-name tables (common/idna_tables.cpp): how
// a character maps, the properties the validity rules ask for, and
// canonical composition.
#pragma once
#include <string>

namespace idna {

enum class Mapping { valid, ignored, mapped, disallowed };
// How browsers map `c` in a host name; a mapped character's replacement
// is appended to `out`.
Mapping mapCharacter(char32_t c, std::u32string& out);

enum class Bidi : unsigned char { L, R, AL, AN, EN, ES, CS, ET, ON, BN, NSM, other };
enum class Joining : unsigned char { none, left, dual, right, transparent };

struct Properties {
    unsigned char combiningClass = 0;
    Bidi bidi = Bidi::L;
    Joining joining = Joining::none;
    bool mark = false;  // general category M
};
// The properties of a character a mapped label can hold; for any other,
// those of a neighbour.
Properties propertiesOf(char32_t c);

// The two characters a primary composite decomposes into (canonically,
// one level); false for any other character.
bool decompose(char32_t c, char32_t& first, char32_t& second);
// The primary composite of two characters; 0 when there is none.
char32_t compose(char32_t first, char32_t second);

}  // namespace idna
