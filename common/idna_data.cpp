// Reading the generated tables: the packed stream is unpacked once, on the
// first lookup, then searched by halves.
#include "common/idna_data.h"

#include <algorithm>
#include <cstdint>

#include "common/idna_tables.h"

namespace idna {

namespace {

namespace t = tables;

enum Kind { valid = 0, disallowed = 1, ignored = 2, pairs = 3, delta = 4, string = 5 };

// Mapping runs are start << 11 | action index. An action's low three bits
// are its kind; a delta's value is the rest (signed); a string action holds
// its strings' length in bits 3 to 7 and their place in the pool above.
// Property runs are start << 11 | record index; a record holds the
// canonical combining class (bits 0 to 7), the bidi class (8 to 11), the
// joining type (12 to 14) and whether it is a mark (15). Composites are
// composite << 42 | first << 21 | second, by composite.
struct Tables {
    std::uint32_t runs[t::runCount];
    std::int32_t actions[t::actionCount + t::stringRunCount];
    char32_t pool[t::poolCount];
    std::uint32_t propertyRuns[t::propertyRunCount];
    std::uint16_t records[t::recordCount];
    std::uint64_t composites[t::compositeCount];
};

// The stream's numbers; past its end (which a sound stream never reaches)
// only zeros.
class Reader {
public:
    std::uint32_t next() {
        std::uint32_t n = 0;
        for (int shift = 0; at_ < t::packedSize && shift < 32; shift += 7) {
            const unsigned char b = t::packed[at_++];
            n |= static_cast<std::uint32_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) break;
        }
        return n;
    }
    std::int32_t nextSigned() {
        const std::uint32_t z = next();
        return static_cast<std::int32_t>(z >> 1) ^ -static_cast<std::int32_t>(z & 1);
    }

private:
    unsigned at_ = 0;
};

// Each field is as the writer put it (scripts/make_idna_tables.py tells
// the layout); the values are kept within their tables, so even a stream
// that does not match the counts gives lookups that stay in bounds.
void unpack(Tables& tt) {
    Reader r;
    unsigned char lengths[t::runCount];  // of a string run's strings; 0 for other runs
    std::uint32_t start = 0;
    for (unsigned i = 0; i < t::runCount; ++i) {
        start = std::min<std::uint32_t>(start + r.next(), 0x10FFFF);
        const std::uint32_t code = r.next();
        lengths[i] = static_cast<unsigned char>(code & 1 ? std::min<std::uint32_t>(code >> 1, 31) : 0);
        tt.runs[i] = start << 11 | (code & 1 ? 0 : std::min<std::uint32_t>(code >> 1, t::actionCount - 1));
    }
    for (unsigned i = 0; i < t::actionCount; ++i) tt.actions[i] = r.nextSigned();
    unsigned stringAction = t::actionCount, offset = 0;
    char32_t first = 0;
    for (unsigned i = 0; i < t::runCount; ++i) {
        if (!lengths[i] || stringAction == t::actionCount + t::stringRunCount) continue;
        tt.actions[stringAction] = static_cast<std::int32_t>(string | lengths[i] << 3 | offset << 8);
        tt.runs[i] = (tt.runs[i] & ~0x7FFu) | stringAction++;
        const std::uint32_t end = i + 1 < t::runCount ? tt.runs[i + 1] >> 11 : 0x110000;
        for (std::uint32_t c = tt.runs[i] >> 11; c < end && offset + lengths[i] <= t::poolCount; ++c) {
            first += r.nextSigned();
            char32_t unit = tt.pool[offset++] = first;
            for (unsigned k = 1; k < lengths[i]; ++k) unit = tt.pool[offset++] = unit + r.nextSigned();
        }
    }
    start = 0;
    for (unsigned i = 0; i < t::propertyRunCount; ++i) {
        start = std::min<std::uint32_t>(start + r.next(), 0x10FFFF);
        tt.propertyRuns[i] = start << 11 | std::min<std::uint32_t>(r.next(), t::recordCount - 1);
    }
    for (unsigned i = 0; i < t::recordCount; ++i) tt.records[i] = static_cast<std::uint16_t>(r.next());
    char32_t marks[t::markCount];
    char32_t mark = 0;
    for (unsigned i = 0; i < t::markCount; ++i) marks[i] = mark += r.next();
    std::uint64_t composite = 0;
    first = 0;
    for (unsigned i = 0; i < t::compositeCount; ++i) {
        composite += r.next();
        first += r.nextSigned();
        const std::uint64_t second = marks[std::min<std::uint32_t>(r.next(), t::markCount - 1)];
        tt.composites[i] = composite << 42 | std::uint64_t(first & 0x1FFFFF) << 21 | (second & 0x1FFFFF);
    }
}

const Tables& data() {
    static Tables tables;
    static const bool unpacked = (unpack(tables), true);
    (void)unpacked;
    return tables;
}

// The run of `c` in a table of (start << 11 | value) entries.
std::uint32_t runOf(const std::uint32_t* runs, unsigned count, char32_t c) {
    const std::uint32_t key = static_cast<std::uint32_t>(c) << 11 | 0x7FF;
    return *(std::upper_bound(runs, runs + count, key) - 1);
}

char32_t compositeOf(std::uint64_t entry) { return static_cast<char32_t>(entry >> 42); }
char32_t firstOf(std::uint64_t entry) { return static_cast<char32_t>(entry >> 21 & 0x1FFFFF); }
char32_t secondOf(std::uint64_t entry) { return static_cast<char32_t>(entry & 0x1FFFFF); }

}  // namespace

Mapping mapCharacter(char32_t c, std::u32string& out) {
    if (c > 0x10FFFF) return Mapping::disallowed;
    const Tables& tt = data();
    const std::uint32_t run = runOf(tt.runs, t::runCount, c);
    const std::int32_t action = tt.actions[run & 0x7FF];
    const char32_t offset = c - (run >> 11);
    switch (action & 7) {
        case valid: return Mapping::valid;
        case ignored: return Mapping::ignored;
        case pairs:
            if (offset % 2) return Mapping::valid;
            out += c + 1;
            return Mapping::mapped;
        case delta:
            out += static_cast<char32_t>(static_cast<std::int32_t>(c) + (action - delta) / 8);
            return Mapping::mapped;
        case string: {
            const unsigned length = static_cast<unsigned>(action >> 3 & 31);
            const unsigned at = static_cast<unsigned>(action >> 8) + offset * length;
            if (at + length > t::poolCount) return Mapping::disallowed;
            out.append(tt.pool + at, length);
            return Mapping::mapped;
        }
        default: return Mapping::disallowed;
    }
}

Properties propertiesOf(char32_t c) {
    const Tables& tt = data();
    const unsigned record = tt.records[runOf(tt.propertyRuns, t::propertyRunCount, c) & 0x7FF];
    Properties p;
    p.combiningClass = static_cast<unsigned char>(record & 0xFF);
    p.bidi = static_cast<Bidi>(record >> 8 & 15);
    p.joining = static_cast<Joining>(record >> 12 & 7);
    p.mark = (record >> 15) != 0;
    return p;
}

bool decompose(char32_t c, char32_t& first, char32_t& second) {
    const std::uint64_t* composites = data().composites;
    const std::uint64_t* end = composites + t::compositeCount;
    const std::uint64_t* at = std::lower_bound(
        composites, end, c, [](std::uint64_t entry, char32_t key) { return compositeOf(entry) < key; });
    if (at == end || compositeOf(*at) != c) return false;
    first = firstOf(*at);
    second = secondOf(*at);
    return true;
}

// A label holds few characters, and few of them reach here: a look along
// the composites costs less than a second table in the program.
char32_t compose(char32_t first, char32_t second) {
    const std::uint64_t parts = static_cast<std::uint64_t>(first) << 21 | second;
    for (const std::uint64_t entry : data().composites) {
        if ((entry & ((std::uint64_t(1) << 42) - 1)) == parts) return compositeOf(entry);
    }
    return 0;
}

}  // namespace idna
