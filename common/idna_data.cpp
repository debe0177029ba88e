// Reading the generated tables: binary searches over runs and composites.
#include "common/idna_data.h"

#include <algorithm>
#include <cstdint>

#include "common/idna_tables.h"

namespace idna {

namespace {

namespace t = tables;

enum Kind { valid = 0, disallowed = 1, ignored = 2, pairs = 3, delta = 4, string = 5 };

// The run of `c` in a table of (start << 11 | value) entries.
const std::uint32_t* runOf(const std::uint32_t* runs, unsigned count, char32_t c) {
    const std::uint32_t key = static_cast<std::uint32_t>(c) << 11 | 0x7FF;
    return std::upper_bound(runs, runs + count, key) - 1;
}

char32_t startOf(std::uint32_t run) { return run >> 11; }

void appendUtf16Units(const char16_t* units, unsigned count, std::u32string& out) {
    for (unsigned i = 0; i < count; ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            out += 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else {
            out += u;
        }
    }
}

char32_t compositeOf(std::uint64_t entry) { return static_cast<char32_t>(entry >> 42); }
char32_t firstOf(std::uint64_t entry) { return static_cast<char32_t>(entry >> 21 & 0x1FFFFF); }
char32_t secondOf(std::uint64_t entry) { return static_cast<char32_t>(entry & 0x1FFFFF); }

}  // namespace

Mapping mapCharacter(char32_t c, std::u32string& out) {
    if (c > 0x10FFFF) return Mapping::disallowed;
    const std::uint32_t* run = runOf(t::mappingRuns, t::mappingRunsCount, c);
    const std::int32_t action = t::mappingActions[*run & 0x7FF];
    const char32_t offset = c - startOf(*run);
    switch (action & 7) {
        case valid: return Mapping::valid;
        case ignored: return Mapping::ignored;
        case pairs:
            if (offset % 2 == 1) return Mapping::valid;
            out += c + 1;
            return Mapping::mapped;
        case delta:
            out += static_cast<char32_t>(static_cast<std::int32_t>(c) + (action - delta) / 8);
            return Mapping::mapped;
        case string: {
            const unsigned units = static_cast<unsigned>(action >> 3 & 31);
            const unsigned at = static_cast<unsigned>(action >> 8) + offset * units;
            appendUtf16Units(t::mappingPool + at, units, out);
            return Mapping::mapped;
        }
        default: return Mapping::disallowed;
    }
}

Properties propertiesOf(char32_t c) {
    const std::uint32_t* run = runOf(t::propertyRuns, t::propertyRunsCount, c);
    const unsigned record = t::propertyRecords[*run & 0x7FF];
    Properties p;
    p.combiningClass = static_cast<unsigned char>(record & 0xFF);
    p.bidi = static_cast<Bidi>(record >> 8 & 15);
    p.joining = static_cast<Joining>(record >> 12 & 7);
    p.mark = (record >> 15) != 0;
    return p;
}

bool decompose(char32_t c, char32_t& first, char32_t& second) {
    const std::uint64_t* end = t::composites + t::compositesCount;
    const std::uint64_t* at = std::lower_bound(
        t::composites, end, c, [](std::uint64_t entry, char32_t key) { return compositeOf(entry) < key; });
    if (at == end || compositeOf(*at) != c) return false;
    first = firstOf(*at);
    second = secondOf(*at);
    return true;
}

char32_t compose(char32_t first, char32_t second) {
    const std::uint64_t parts = static_cast<std::uint64_t>(first) << 21 | second;
    auto partsOf = [](std::uint16_t index) { return t::composites[index] & ((std::uint64_t(1) << 42) - 1); };
    const std::uint16_t* end = t::compositesByParts + t::compositesByPartsCount;
    const std::uint16_t* at = std::lower_bound(t::compositesByParts, end, parts,
                                               [&](std::uint16_t index, std::uint64_t key) { return partsOf(index) < key; });
    if (at == end || partsOf(*at) != parts) return 0;
    return compositeOf(t::composites[*at]);
}

}  // namespace idna
