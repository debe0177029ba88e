// Matching source programs against the patterns of "[from:...]" headers.
// Scans step by whole characters: '\' is also the second byte of many
// Shift_JIS characters, and a '?' or '*' never is.
#include "settings/source_pattern.h"

#include "common/text.h"
#include "settings/pattern_headers.h"

namespace {

constexpr std::string_view noNameCharacters = "/:\"<>|";

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool sameCharacter(std::string_view a, std::size_t i, std::size_t aLength, std::string_view b,
                   std::size_t j, std::size_t bLength) {
    if (aLength != bLength) return false;
    if (aLength == 1) return folded(a[i]) == folded(b[j]);
    return a.substr(i, aLength) == b.substr(j, bLength);
}

bool hasPathSeparator(std::string_view s) { return text::findByte(s, '\\') != text::npos; }

bool hasWildcard(std::string_view s) {
    return text::findByte(s, '*') != text::npos || text::findByte(s, '?') != text::npos;
}

// The final component of a path pattern or path.
std::string_view lastComponent(std::string_view s) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); i += text::charLength(s, i))
        if (s[i] == '\\') start = i + 1;
    return s.substr(start);
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view subject) {
    // The classic walk: on a mismatch, the last '*' takes one more
    // character of the subject.
    std::size_t p = 0, s = 0;
    std::size_t starAt = text::npos, starSubject = 0;
    while (s < subject.size()) {
        const std::size_t sLength = text::charLength(subject, s);
        if (p < pattern.size()) {
            const std::size_t pLength = text::charLength(pattern, p);
            if (pLength == 1 && pattern[p] == '*') {
                starAt = p++;
                starSubject = s;
                continue;
            }
            if ((pLength == 1 && pattern[p] == '?') ||
                sameCharacter(pattern, p, pLength, subject, s, sLength)) {
                p += pLength;
                s += sLength;
                continue;
            }
        }
        if (starAt == text::npos) return false;
        p = starAt + 1;
        starSubject += text::charLength(subject, starSubject);
        s = starSubject;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

SourcePatternForm sourcePatternForm(std::string_view pattern) {
    const std::string_view p = trimBlanks(pattern);
    if (p.empty()) return SourcePatternForm::empty;
    const bool path = hasPathSeparator(p);
    for (std::size_t i = 0; i < p.size(); i += text::charLength(p, i)) {
        if (text::charLength(p, i) != 1) continue;
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c < 0x20 || c == 0x7F) return SourcePatternForm::malformed;
        // A drive's colon ("C:\...") is the one a path holds.
        if (path && p[i] == ':' && i == 1) continue;
        if (noNameCharacters.find(p[i]) != std::string_view::npos) return SourcePatternForm::malformed;
    }
    if (path && lastComponent(p).empty()) return SourcePatternForm::malformed;
    return path ? SourcePatternForm::path : SourcePatternForm::name;
}

bool sourceMatchesPattern(const SourceProgram& source, std::string_view pattern) {
    if (!source.known()) return false;
    switch (sourcePatternForm(pattern)) {
        case SourcePatternForm::name: return wildcardMatch(trimBlanks(pattern), source.name);
        case SourcePatternForm::path:
            return !source.path.empty() && wildcardMatch(trimBlanks(pattern), source.path);
        default: return false;
    }
}

bool sourceMatchesPatternList(const SourceProgram& source, std::string_view list) {
    if (!source.known()) return false;
    for (std::string_view pattern : splitPatternList(list))
        if (sourceMatchesPattern(source, pattern)) return true;
    return false;
}

bool sourcePatternCovers(std::string_view earlier, std::string_view later) {
    auto usable = [](SourcePatternForm f) {
        return f == SourcePatternForm::name || f == SourcePatternForm::path;
    };
    const SourcePatternForm earlierForm = sourcePatternForm(earlier);
    const SourcePatternForm laterForm = sourcePatternForm(later);
    if (!usable(earlierForm) || !usable(laterForm)) return false;
    const std::string_view e = trimBlanks(earlier), l = trimBlanks(later);
    // A name pattern of stars only names every program.
    if (earlierForm == SourcePatternForm::name && e.find_first_not_of('*') == std::string_view::npos)
        return true;
    // Two wildcard patterns: only the same pattern, letter case aside.
    if (hasWildcard(l)) return earlierForm == laterForm && text::equalsNoCase(e, l);
    // Without wildcards `later` names one program, or one path: `earlier`
    // covers it when it matches that name, or that path.
    if (earlierForm == SourcePatternForm::name) return wildcardMatch(e, lastComponent(l));
    return laterForm == SourcePatternForm::path && wildcardMatch(e, l);
}
