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

namespace {

// The line a key was last found on, so that many keys on one long line
// (a file with old Macintosh line ends is a single line) cost one look at
// it rather than one each.
struct LineMemo {
    std::size_t start = text::npos;
    std::size_t end = 0;  // its line feed, or the end of the text
    bool comment = false;
};

bool commentAt(std::string_view searched, std::size_t at, LineMemo& memo) {
    if (memo.start != text::npos && at >= memo.start && at < memo.end) return memo.comment;
    memo.start = 0;
    if (at > 0) {
        const std::size_t lf = searched.rfind('\n', at - 1);
        if (lf != std::string_view::npos) memo.start = lf + 1;
    }
    memo.end = searched.find('\n', at);
    if (memo.end == std::string_view::npos) memo.end = searched.size();
    memo.comment = onCommentLine(searched, at);
    return memo.comment;
}

// The search itself, over text already cut at its first NUL.
std::size_t findKey(std::string_view searched, std::string_view key, std::size_t from,
                    LineMemo& memo) {
    std::size_t at = text::findNoCase(searched, key, from);
    while (at != text::npos && commentAt(searched, at, memo)) {
        if (memo.end >= searched.size()) return text::npos;
        at = text::findNoCase(searched, key, memo.end + 1);
    }
    return at;
}

}  // namespace

std::size_t findSettingsKey(std::string_view text, std::string_view key, std::size_t from) {
    LineMemo memo;
    return findKey(searchableText(text), key, from, memo);
}

std::vector<std::size_t> findAllSettingsKeys(std::string_view text, std::string_view key) {
    // The text is cut at its NUL once: cutting it for every key found made
    // a file of many host blocks take time growing with the square of its
    // size (10,000 blocks: eight seconds under Wine).
    const std::string_view searched = searchableText(text);
    std::vector<std::size_t> found;
    LineMemo memo;
    for (std::size_t at = findKey(searched, key, 0, memo); at != text::npos;
         at = findKey(searched, key, at + key.size(), memo))
        found.push_back(at);
    return found;
}

std::size_t lineAfterHeader(std::string_view text, std::string_view header) {
    std::size_t at = findSettingsKey(text, header);
    if (at == text::npos) return text::npos;
    std::size_t consumed = 0;
    readSettingsLine(text, at, consumed);
    return at + consumed;
}
