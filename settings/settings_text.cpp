// Helpers shared by the steps of the settings loader.
#include "settings/settings_text.h"

#include "common/text.h"
#include "settings/settings_line.h"

std::string_view searchableText(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::size_t lineAfterHeader(std::string_view text, std::string_view header) {
    std::size_t at = text::findNoCase(searchableText(text), header);
    if (at == text::npos) return text::npos;
    std::size_t consumed = 0;
    readSettingsLine(text, at, consumed);
    return at + consumed;
}
