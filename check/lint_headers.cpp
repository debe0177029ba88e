// Block headers: where each one is, whether Tavrin finds it there (the
// first occurrence of a key counts, even inside another line), keys that
// are never looked for, the exclusive mark, and blocks without "%end".
#include <map>
#include <set>
#include <unordered_map>

#include "check/lint_context.h"
#include "common/split_path.h"
#include "common/text.h"
#include "settings/host_blocks.h"
#include "settings/source_blocks.h"
#include "settings/settings_text.h"

namespace {

std::string folded(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return out;
}

bool isAscii(std::string_view s) {
    for (char ch : s)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

}  // namespace

// Keys of ASCII text are looked for in one walk over the text: at every "["
// that begins a character on a line that is not a comment, each key length
// is tried. Others (rare) are searched one by one. A file of many headers
// thus costs one walk, not one search per header.
std::map<std::string, std::size_t> firstKeyOccurrences(const LintContext& c,
                                                       const std::set<std::string>& keys) {
    std::map<std::string, std::size_t> first;
    // By length, the folded text to the keys (of any case) it stands for.
    std::map<std::size_t, std::unordered_map<std::string, std::vector<std::string>>> byLength;
    std::size_t left = 0;
    for (const std::string& key : keys) {
        first[key] = text::npos;
        if (isAscii(key)) {
            byLength[key.size()][folded(key)].push_back(key);
            ++left;
        } else {
            first[key] = findSettingsKey(c.searched, key);
        }
    }
    const std::string_view s = c.searched;
    for (std::size_t start = 0; start < s.size() && left > 0;) {
        std::size_t end = s.find('\n', start);
        if (end == std::string_view::npos) end = s.size();
        if (!onCommentLine(s, start)) {
            for (std::size_t i = start; i < end;) {
                if (s[i] == '[') {
                    for (const auto& [length, table] : byLength) {
                        if (i + length > s.size()) break;
                        auto hit = table.find(folded(s.substr(i, length)));
                        if (hit == table.end()) continue;
                        for (const std::string& key : hit->second) {
                            std::size_t& at = first[key];
                            if (at == text::npos) {
                                at = i;
                                --left;
                            }
                        }
                    }
                }
                i += text::charLength(s, i);
            }
        }
        start = end + 1;
    }
    return first;
}

namespace {

bool isBlockKeyWord(std::string_view inner) {
    return text::equalsNoCase(inner, "all") || text::equalsNoCase(inner, "blank") ||
           text::equalsNoCase(inner, "system") || text::equalsNoCase(inner, "list") ||
           text::startsWithNoCase(inner, "host:") || text::startsWithNoCase(inner, "from:");
}

void lintKey(LintContext& c, const HeaderLine& h) {
    const std::string_view inner = std::string_view(h.key).substr(1, h.key.size() - 2);
    if (isBlockKeyWord(inner)) return;
    if (inner.empty() || inner[0] != '.') {
        c.add(h.line, LintRule::unknownKey, {h.key});
        return;
    }
    if (inner == ".*") return;
    // A key is formed from the extension after the path's last dot.
    const std::string last = splitPath("x" + std::string(inner)).extension;
    if (last.size() != inner.size()) c.add(h.line, LintRule::compoundExtension, {h.key, "[" + last + "]"});
}

void lintHeaderTail(LintContext& c, const HeaderLine& h) {
    std::string_view rest = std::string_view(h.text).substr(h.key.size());
    const std::size_t lastNonBlank = rest.find_last_not_of(' ');
    if (lastNonBlank == std::string_view::npos) return;
    if (rest[lastNonBlank] == '#' && lastNonBlank + 1 < rest.size() && h.association)
        c.add(h.line, LintRule::exclusiveMarkNotLast);
    std::string_view words = rest.substr(0, lastNonBlank + 1);
    if (!words.empty() && words.back() == '#' && h.association) words.remove_suffix(1);
    if (words.find_first_not_of(' ') != std::string_view::npos)
        c.add(h.line, LintRule::textAfterHeader, {std::string(text::skipLeadingSpaces(words))});
}

}  // namespace

void findHeaderLines(LintContext& c) {
    LineCursor cursor(c.text, 0, 1);
    SettingsLine line;
    while (cursor.next(line)) {
        const std::string_view body = line.body();
        if (body.empty() || body[0] != '[') continue;
        const std::size_t close = text::findByte(body, ']');
        if (close == text::npos) {
            c.add(line.number, LintRule::headerWithoutClose, {std::string(body)});
            continue;
        }
        HeaderLine h;
        h.lineStart = line.offset;
        h.bracket = c.text.find('[', line.offset);
        h.line = line.number;
        h.key = std::string(body.substr(0, close + 1));
        h.text = std::string(body);
        h.association = !text::equalsNoCase(h.key, "[system]") && !text::equalsNoCase(h.key, "[list]");
        c.headers.push_back(std::move(h));
    }
}

void lintHeaders(LintContext& c) {
    std::set<std::string> keys;
    for (const HeaderLine& h : c.headers) keys.insert(h.key);
    const std::map<std::string, std::size_t> first = firstKeyOccurrences(c, keys);
    // Header lines by the folded key, to tell a repeated header from an
    // occurrence inside another line.
    std::map<std::string, const HeaderLine*> firstLineOfKey;
    for (const HeaderLine& h : c.headers) {
        lintKey(c, h);
        lintHeaderTail(c, h);
        if (h.bracket >= c.searched.size()) {
            c.add(h.line, LintRule::headerAfterNul, {h.key});
            continue;
        }
        // Keys are matched without regard to ASCII case; the first
        // occurrence is found with the key as written on this line.
        const std::size_t at = first.at(h.key);
        const std::string name = folded(h.key);
        const HeaderLine* earlier = firstLineOfKey.count(name) ? firstLineOfKey[name] : nullptr;
        if (!earlier) firstLineOfKey[name] = &h;
        if (at == h.bracket || at == text::npos) continue;
        // Every host and source header is read, not only a key's first
        // occurrence; their own passes tell which of them are never chosen.
        if (text::startsWithNoCase(h.key, hostHeaderKey) || text::startsWithNoCase(h.key, sourceHeaderKey))
            continue;
        if (earlier) c.add(h.line, LintRule::duplicateHeader, {h.key, std::to_string(c.lineOf(at))});
        else c.add(h.line, LintRule::shadowedHeader, {h.key, std::to_string(c.lineOf(at))});
    }
}
