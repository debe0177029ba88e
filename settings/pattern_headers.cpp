// Finding the headers of pattern blocks in a settings text.
#include "settings/pattern_headers.h"

#include <utility>

#include "common/text.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"

std::vector<PatternHeader> patternHeaders(std::string_view text, std::string_view key) {
    std::vector<PatternHeader> headers;
    for (const std::size_t at : findAllSettingsKeys(text, key)) {
        // The header's line as every block reader sees it: CR and TAB gone,
        // at most 517 characters.
        const std::string line = settingsLineText(text, at);
        PatternHeader header;
        header.at = at;
        header.exclusive = !line.empty() && line.back() == '#';
        const std::string_view rest = std::string_view(line).substr(key.size());
        const std::size_t close = text::findByte(rest, ']');
        header.closed = close != text::npos;
        header.patterns = std::string(header.closed ? rest.substr(0, close) : rest);
        headers.push_back(std::move(header));
    }
    return headers;
}

std::vector<std::string_view> splitPatternList(std::string_view list) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = text::findByte(list, ';', start);
        if (semicolon == text::npos) {
            items.push_back(list.substr(start));
            return items;
        }
        items.push_back(list.substr(start, semicolon - start));
        start = semicolon + 1;
    }
}
