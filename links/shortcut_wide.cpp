// The "[InternetShortcut.W]" section of an Internet shortcut.
#include "links/shortcut_wide.h"

#include "common/text.h"
#include "common/unicode.h"
#include "links/wide_text.h"

namespace {

// The line that begins at `at`, without its line end.
std::string_view lineAt(std::string_view content, std::size_t at) {
    const std::size_t end = content.find_first_of("\r\n", at);
    return content.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
}

}  // namespace

std::string shortcutWideUrl(std::string_view content) {
    bool inSection = false;
    for (std::size_t at = 0; at < content.size();) {
        const std::string_view line = text::skipLeadingSpaces(lineAt(content, at));
        at += lineAt(content, at).size();
        while (at < content.size() && (content[at] == '\r' || content[at] == '\n')) ++at;
        if (!line.empty() && line[0] == '[') {
            inSection = text::startsWithNoCase(line, "[InternetShortcut.W]");
            continue;
        }
        if (!inSection || !text::startsWithNoCase(line, "URL=")) continue;
        std::string_view value = line.substr(4);
        value = value.substr(0, value.find_first_of(" \t"));
        std::u16string wide;
        if (value.empty() || !unicode::fromUtf7(value, wide)) return std::string();
        return wideToCp932(wide, WideText::url);
    }
    return std::string();
}
