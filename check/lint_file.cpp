// The file as a whole: its size, bytes that are not text, line ends, long
// lines and TAB characters.
#include <cstdio>
#include <cstring>

#include "check/lint_context.h"
#include "common/capacity.h"
#include "common/text.h"

namespace {

std::string byteName(unsigned char c) {
    char name[8];
    std::snprintf(name, sizeof name, "0x%02X", c);
    return name;
}

// A TAB between two characters other than blanks joins them.
bool tabJoins(std::string_view raw) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\t') continue;
        std::size_t before = i, after = i;
        while (before > 0 && (raw[before - 1] == '\t' || raw[before - 1] == '\r')) --before;
        while (after < raw.size() && (raw[after] == '\t' || raw[after] == '\r')) ++after;
        if (before > 0 && after < raw.size() && raw[before - 1] != ' ' && raw[after] != ' ') return true;
        i = after;
    }
    return false;
}

}  // namespace

void lintFileBytes(LintContext& c) {
    const std::string_view text = c.text;
    if (text.size() >= 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0)
        c.add(1, LintRule::byteOrderMark);
    if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos &&
        text.find('\r') + 1 < text.size())
        c.add(1, LintRule::crOnlyLineEnds);

    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) c.add(c.lineOf(nul), LintRule::nulByte);

    int number = 1;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        const bool lastWithoutBreak = end == std::string_view::npos;
        if (lastWithoutBreak) end = text.size();
        const std::string_view raw = text.substr(start, end - start);

        std::size_t kept = 0, first = 0;
        unsigned char control = 0;
        for (char ch : raw) {
            const unsigned char b = static_cast<unsigned char>(ch);
            if (b == '\r' || b == '\t') continue;
            ++kept;
            if (control == 0 && b != 0 && (b < 0x20 || b == 0x7F)) control = b;
        }
        first = raw.find_first_not_of(" \t\r");
        const bool comment = first != std::string_view::npos && raw[first] == ';';
        if (control != 0) c.add(number, LintRule::controlByte, {byteName(control)});
        if (control != 0 || raw.find('\0') != std::string_view::npos) ++c.controlLines;
        if (!comment && kept > cap::settingsLine - 1)
            c.add(number, LintRule::lineTooLong, {std::to_string(kept)});
        if (!comment && tabJoins(raw)) {
            // Shown as Tavrin reads it: joined.
            std::string shown;
            for (char ch : raw.substr(first))
                if (ch != '\t' && ch != '\r') shown += ch;
            c.add(number, LintRule::tabJoins, {text::cut(shown, 81)});
        }
        if (lastWithoutBreak && first != std::string_view::npos)
            c.add(number, LintRule::lastLineWithoutBreak);
        start = end + 1;
        ++number;
    }
}
