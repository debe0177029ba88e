// Cutting input between tokens. Byte-wise like recognition's walk: blanks,
// tabs, line feeds and double quotes never occur as trail bytes.
#include "app/input_cut.h"

std::string_view wholeTokens(std::string_view text, std::size_t limit, int lineMode) {
    if (text.size() <= limit) return text;
    bool inQuotes = false;
    std::size_t boundary = 0;
    for (std::size_t i = 0; i < limit; ++i) {
        const char c = text[i];
        if (c == '"' && !inQuotes) {
            boundary = i;  // an opening quote ends the token before it
            inQuotes = true;
        } else if (c == '"') {
            boundary = i + 1;
            inQuotes = false;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            boundary = i + 1;
        } else if (c == '\n' && lineMode == 1) {
            boundary = i + 1;
            inQuotes = false;
        }
    }
    // The first byte left out may itself end the token the cut reached.
    const char next = text[limit];
    if (!inQuotes && (next == ' ' || next == '\t' || next == '"')) boundary = limit;
    if (next == '\n' && lineMode == 1) boundary = limit;
    return text.substr(0, boundary);
}
