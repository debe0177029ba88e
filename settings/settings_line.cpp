// Cuts one line out of a settings text for every reader of settings blocks.
#include "settings/settings_line.h"

#include "common/capacity.h"
#include "common/text.h"

std::string settingsLineText(std::string_view text, std::size_t offset) {
    // Gather one byte more than the line keeps, so that the shared cut can
    // tell whether the last kept byte starts a double-byte character.
    std::string kept;
    kept.reserve(cap::settingsLine);
    for (std::size_t i = offset; i < text.size() && kept.size() < cap::settingsLine; ++i) {
        char c = text[i];
        if (c == '\n') break;
        if (c == '\0') break;  // a NUL ends the line's text, as in a zero-terminated buffer
        if (c == '\r' || c == '\t') continue;  // never trail bytes, safe to drop byte-wise
        kept.push_back(c);
    }
    return text::cut(kept, cap::settingsLine);
}

std::string readSettingsLine(std::string_view text, std::size_t offset,
                             std::size_t& consumed) {
    if (offset >= text.size()) {
        // Nothing left: report one byte past the end so that callers stop.
        consumed = 1;
        return std::string();
    }
    std::size_t lf = text.find('\n', offset);
    std::size_t end = lf == std::string_view::npos ? text.size() : lf;
    consumed = end - offset + (lf == std::string_view::npos ? 0 : 1);
    return settingsLineText(text, offset);
}
