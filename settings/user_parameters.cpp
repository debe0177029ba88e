// The parameters block: up to 10 name/value pairs split by the separator.
// Leading spaces are part of the names here, unlike everywhere else.
#include "settings/user_parameters.h"

#include "common/capacity.h"
#include "common/text.h"
#include "settings/settings.h"
#include "settings/settings_line.h"

std::size_t readUserParameters(std::string_view text, std::size_t offset) {
    userParameters.count = 0;
    std::size_t consumed = 0;
    readSettingsLine(text, offset, consumed);  // the "@param" line itself
    std::size_t total = consumed;

    const int capacity = static_cast<int>(userParameters.rows.size());
    while (userParameters.count < capacity) {
        const std::size_t at = offset + total;
        std::string line = readSettingsLine(text, at, consumed);
        if (at + consumed > text.size()) break;
        std::size_t split = text::findNoCase(line, settings.separator);
        if (split == text::npos) break;
        UserParameter& row = userParameters.rows[userParameters.count++];
        row.name = text::cut(std::string_view(line).substr(0, split), cap::paramName);
        row.value = text::cut(std::string_view(line).substr(split + settings.separator.size()),
                              cap::path);
        total += consumed;
    }
    return total;
}
