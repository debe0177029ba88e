// "%name%" placeholders: without "@param" none is replaced; with it, a name
// that is neither a folder, date nor user parameter stays as written.
#include <set>

#include "check/lint_context.h"
#include "common/text.h"
#include "settings/settings.h"
#include "template/folder_placeholders.h"

namespace {

bool isWordStart(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'; }
bool isWordChar(char ch) { return isWordStart(ch) || (ch >= '0' && ch <= '9'); }
bool isHex(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

bool isKnown(std::string_view name) {
    for (const FolderPlaceholder& entry : folderPlaceholderTable)
        if (text::equalsNoCase(entry.name, name)) return true;
    for (int i = 0; i < userParameters.count && i < static_cast<int>(userParameters.rows.size()); ++i)
        if (text::equalsNoCase(userParameters.rows[static_cast<std::size_t>(i)].name, name)) return true;
    return false;
}

// Texts of the form %word% (a letter or "_", then letters, digits, "_"; two
// hexadecimal digits are a URL's percent escape, not a name).
std::vector<std::string> wordPlaceholders(std::string_view s) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t step = text::charLength(s, i);
        if (step == 1 && s[i] == '%' && i + 1 < s.size() && isWordStart(s[i + 1])) {
            std::size_t j = i + 1;
            while (j < s.size() && isWordChar(s[j])) ++j;
            const std::size_t length = j - i - 1;
            if (j < s.size() && s[j] == '%' && length >= 2 &&
                !(length == 2 && isHex(s[i + 1]) && isHex(s[i + 2]))) {
                found.emplace_back(s.substr(i, j - i + 1));
                i = j + 1;
                continue;
            }
        }
        i += step;
    }
    return found;
}

}  // namespace

void lintPlaceholders(LintContext& c, int line, std::string_view value) {
    if (value.find('%') == std::string_view::npos) return;
    std::set<std::string> told;
    if (settings.parametersOn != 1) {
        for (const FolderPlaceholder& entry : folderPlaceholderTable) {
            const std::size_t at = text::findNoCase(value, entry.name);
            if (at != text::npos) told.emplace(value.substr(at, entry.name.size()));
        }
        for (const std::string& word : wordPlaceholders(value)) told.insert(word);
        for (const std::string& name : told) c.add(line, LintRule::placeholderWithoutParam, {name});
        return;
    }
    for (const std::string& word : wordPlaceholders(value))
        if (!isKnown(word) && told.insert(word).second) c.add(line, LintRule::unknownPlaceholder, {word});
}
