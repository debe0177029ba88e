// The Unicode tables behind reading host names as browsers do, generated
// from the Unicode data by scripts/make_idna_tables.py into
// idna_tables.cpp. Only common/unicode_tables.cpp reads them.
#pragma once
#include <cstdint>

namespace idna::tables {

// The mapping, in runs of code points that map alike: start << 11 and the
// index of the run's action. An action's low three bits are its kind
// (valid, disallowed, ignored, pairs, delta, string); a delta's value is
// the rest (signed); a string action holds its strings' UTF-16 length in
// bits 3 to 7 and their place in the pool above.
extern const std::uint32_t mappingRuns[];
extern const unsigned mappingRunsCount;
extern const std::int32_t mappingActions[];
extern const unsigned mappingActionsCount;
extern const char16_t mappingPool[];
extern const unsigned mappingPoolCount;

// Properties of the characters a mapped label can hold, in runs: start <<
// 11 and the index of a record, which holds the canonical combining class
// (bits 0 to 7), the bidi class (8 to 11), the joining type (12 to 14)
// and whether it is a mark (15).
extern const std::uint32_t propertyRuns[];
extern const unsigned propertyRunsCount;
extern const std::uint16_t propertyRecords[];
extern const unsigned propertyRecordsCount;

// Primary composites of two characters a label can hold, by composite:
// composite << 42 | first << 21 | second; and their indices in the order
// of their two parts.
extern const std::uint64_t composites[];
extern const unsigned compositesCount;
extern const std::uint16_t compositesByParts[];
extern const unsigned compositesByPartsCount;

}  // namespace idna::tables
