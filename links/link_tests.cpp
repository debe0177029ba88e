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
        std::size_t key = text::findNoCase(content, "URL=");
        if (key == text::npos) return std::string();
        std::string_view rest = std::string_view(content).substr(key + 4);
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
