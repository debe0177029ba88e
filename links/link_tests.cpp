// The small tests that decide whether a text is a URL the program accepts,
// cut the first such URL out of a text, read an Internet shortcut, and sort
// a file by its extension. Secure web links belong to the http kind.
#include "links/link_tests.h"

#include <array>
#include <cstddef>

#include "common/capacity.h"
#include "common/split_path.h"
#include "common/text.h"
#include "links/shortcut_wide.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/url_parts.h"

namespace {

struct SchemePrefix {
    std::string_view prefix;
    SchemeIndex flag;
    int kind;  // classifyLink's result when the text splits
};

// In the order in which they are tested.
constexpr std::array<SchemePrefix, 5> schemePrefixes = {{
    {"http://", schemeHttp, 0},
    {"https://", schemeHttp, 0},
    {"ftp://", schemeFtp, 0},
    {"mailto:", schemeMailto, 0},
    {"file://", schemeFile, 1},
}};

bool enabled(const SchemePrefix& p) { return settings.schemeEnabled[p.flag] != 0; }

// A text that begins with the prefix of a switched-off scheme.
bool hasDisabledPrefix(std::string_view s) {
    for (const SchemePrefix& p : schemePrefixes) {
        if (!enabled(p) && text::startsWithNoCase(s, p.prefix)) return true;
    }
    return false;
}

// Length of the text up to the first of `stops` (at character boundaries).
std::size_t spanUntil(std::string_view s, std::string_view stops) {
    for (std::size_t i = 0; i < s.size();) {
        if (stops.find(s[i]) != std::string_view::npos) return i;
        i += text::isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    }
    return s.size();
}

// Where the value of `key` in the `[section]` of an ini-style text begins
// (section and key names ignoring case, blanks around them allowed), or
// npos. `sectionSeen` tells whether the section header occurs at all. '=',
// CR and LF can never be trail bytes; a ']' that is one could only stand in
// a section name that is not looked for.
std::size_t sectionValue(std::string_view text, std::string_view section, std::string_view key,
                         bool& sectionSeen) {
    sectionSeen = false;
    bool inSection = false;
    for (std::size_t line = 0; line < text.size();) {
        std::size_t end = line;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view content = text::skipLeadingSpaces(text.substr(line, end - line));
        if (!content.empty() && content[0] == '[') {
            // "[name]": the line's last ']' closes it.
            const std::size_t close = content.rfind(']');
            const std::string_view name = close == std::string_view::npos ? content.substr(1)
                                                                          : content.substr(1, close - 1);
            inSection = text::equalsNoCase(name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection) {
            const std::size_t equals = content.find('=');
            std::string_view name = content.substr(0, equals);
            while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
            if (equals != std::string_view::npos && text::equalsNoCase(name, key)) {
                std::size_t value = static_cast<std::size_t>(content.data() - text.data()) + equals + 1;
                while (value < end && text[value] == ' ') ++value;
                return value;
            }
        }
        line = end + 1;
    }
    return text::npos;
}

}  // namespace

int classifyLink(std::string_view link) {
    for (const SchemePrefix& p : schemePrefixes) {
        if (!enabled(p) || !text::startsWithNoCase(link, p.prefix)) continue;
        return crackUrl(link) ? p.kind : -1;
    }
    return -1;
}

int findFirstUrl(std::string& found, int stopMode, bool* toTextEnd, std::string_view titleSeparator) {
    std::size_t start = text::npos;
    for (const SchemePrefix& p : schemePrefixes) {
        if (!enabled(p)) continue;
        std::size_t at = text::findNoCase(found, p.prefix);
        if (at < start) start = at;
    }
    if (start == text::npos) return -1;

    std::string_view rest = std::string_view(found).substr(start);
    // An apostrophe belongs to the URL (Schindler's_List), unless the URL
    // itself began right after one: then it is the closing quote. (0x27 is
    // never the trail byte of a double-byte character.)
    const bool quotedByApostrophe = start > 0 && found[start - 1] == '\'';
    std::string_view stops;
    if (stopMode == 0) stops = quotedByApostrophe ? " '>" : " >";
    else if (stopMode == 1) stops = quotedByApostrophe ? "'>" : ">";
    std::string_view url = rest.substr(0, spanUntil(rest, stops));
    if (toTextEnd) *toTextEnd = url.size() == rest.size();
    // A long title must not make its URL too long to open, nor be split
    // as part of it.
    std::string_view bare = url;
    const std::size_t title = titleSeparator.empty() ? text::npos : text::findNoCase(url, titleSeparator);
    if (title != text::npos) bare = url.substr(0, title);
    const bool tooLong = bare.size() >= cap::path;
    const bool splits = !tooLong && crackUrl(bare);
    found = std::string(url);
    if (tooLong) return findTooLong;
    return splits ? 0 : -1;
}

bool holdsUrlScheme(std::string_view text) {
    for (const SchemePrefix& p : schemePrefixes)
        if (text::containsNoCase(text, p.prefix)) return true;
    return false;
}

std::string readShortcutUrl(const std::string& path, std::string* tooLong) {
    std::string whole;
    // Only the head of the file is used, however large the file is; the
    // wide section, which follows the ANSI one, may lie a little further.
    if (!platform::os().readFile(path, whole, 4096, false)) return std::string();
    std::string url = shortcutWideUrl(whole);
    if (url.empty()) {
        const std::string content = whole.substr(0, 777) + "\r\n";
        // The URL of the [InternetShortcut] section: favourites put a
        // "BASEURL=" of a [DEFAULT] section before it. A file without that
        // section gives the first "URL=" anywhere.
        bool sectionSeen = false;
        std::size_t value = sectionValue(content, "InternetShortcut", "URL", sectionSeen);
        if (!sectionSeen) {
            value = text::findNoCase(content, "URL=");
            if (value != text::npos) value += 4;
        }
        if (value == text::npos) return std::string();
        std::string_view rest = std::string_view(content).substr(value);
        url = std::string(rest.substr(0, spanUntil(rest, "\r\n ")));
    }
    if (url.size() >= cap::path) {
        if (tooLong) *tooLong = url;
        return std::string();
    }
    if (hasDisabledPrefix(url) || !crackUrl(url)) return std::string();
    return url;
}

int fileKindByExtension(std::string_view path) {
    const std::string extension = splitPath(path).extension;
    if (extension.size() == 4 && text::containsNoCase(extension, ".url")) return fileKindShortcut;
    for (int i = 0; i < settings.pageExtensionCount &&
                    i < static_cast<int>(settings.pageExtensions.size());
         ++i) {
        const std::string& item = settings.pageExtensions[static_cast<std::size_t>(i)];
        if (extension.size() == item.size() && text::containsNoCase(extension, item)) {
            return fileKindHtml;
        }
    }
    return fileKindOther;
}
