// Helpers shared by the steps of the settings loader.
#include "settings/settings_text.h"

#include "common/text.h"
#include "settings/settings_line.h"

std::string_view searchableText(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

bool onCommentLine(std::string_view text, std::size_t position) {
    // Line feeds never occur as trail bytes, so the line start is found
    // byte-wise; TAB and CR are dropped from every line before it is read.
    std::size_t start = 0;
    if (position > 0) {
        const std::size_t lf = text.rfind('\n', position - 1);
        if (lf != std::string_view::npos) start = lf + 1;
    }
    for (std::size_t i = start; i < text.size() && text[i] != '\n'; ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r') continue;
        return c == ';';
    }
    return false;
}

std::size_t findSettingsKey(std::string_view text, std::string_view key, std::size_t from) {
    const std::string_view searched = searchableText(text);
    std::size_t at = text::findNoCase(searched, key, from);
    while (at != text::npos && onCommentLine(searched, at)) {
        const std::size_t lf = searched.find('\n', at);
        if (lf == std::string_view::npos) return text::npos;
        at = text::findNoCase(searched, key, lf + 1);
    }
    return at;
}

std::size_t lineAfterHeader(std::string_view text, std::string_view header) {
    std::size_t at = findSettingsKey(text, header);
    if (at == text::npos) return text::npos;
    std::size_t consumed = 0;
    readSettingsLine(text, at, consumed);
    return at + consumed;
}
