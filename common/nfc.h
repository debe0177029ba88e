// Canonical composition (NFC) of the characters of a mapped host label.
#pragma once
#include <string>

namespace idna {

// `s` in Normalization Form C. Exact for text of characters a mapped label
// can hold (every such character that decomposes is a primary composite);
// other characters are left where they stand.
void toNfc(std::u32string& s);

}  // namespace idna
