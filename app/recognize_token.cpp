// One token of recognised input: an existing folder or file ends the
// recognition at once; an Internet shortcut and a URL each add an entry.
#include "app/recognize_token.h"

#include <string>

#include "app/recognize.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "links/link_cleaning.h"
#include "links/link_tests.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/folder_date.h"
#include "template/url_parts.h"

namespace {

// The only entry: a folder or a file. Other fields of the entry keep what
// they held; callers of these results read the path alone.
int storePath(const std::string& path, int result) {
    text::assignCut(urlList.entries[0].url, path, cap::url);
    urlList.entries[0].givenUrl.clear();
    urlList.urlCount = 1;
    return result;
}

// Appends a URL entry, cleaned by the settings' rules, with the scheme and
// extension of its URL (split last, by the caller or by the cleaning).
// True when the table is full.
bool addEntry(std::string_view url, std::string_view title) {
    UrlEntry& e = urlList.entries[urlList.urlCount];
    std::string kept(url), given;
    // A URL taken for being short enough once clean that then does not
    // split is too long after all.
    if (!cleanForUse(kept, given) && kept.size() >= cap::path) {
        noteOverlongUrl(kept, overlong::url);
        return false;
    }
    text::assignCut(e.url, kept, cap::url);
    text::assignCut(e.givenUrl, given, cap::url);
    text::assignCut(e.title, title, cap::path);
    text::assignCut(e.scheme, urlParts.scheme, cap::scheme);
    std::string extension = splitPath(urlParts.urlPath).extension;
    text::assignCut(e.extension, extension.empty() ? "blank" : extension, cap::path);
    e.kind = Anchor;
    return ++urlList.urlCount >= maxUrlEntries;
}

// The URL of a found text: what stands before the title separator.
std::string_view urlBeforeTitle(const std::string& work) {
    const std::size_t at = text::findNoCase(work, settings.titleSeparator);
    return std::string_view(work).substr(0, at);
}

// Adds the URL found in `work`, with a title when the title separator
// follows it. True when the table is full.
bool addFoundUrl(const std::string& work) {
    const std::string& separator = settings.titleSeparator;
    std::size_t at = text::findNoCase(work, separator);
    if (at == text::npos) return addEntry(work, std::string_view());

    std::string_view url = std::string_view(work).substr(0, at);
    std::string_view title = std::string_view(work).substr(at + separator.size());
    if (title.size() >= cap::path) title = std::string_view();
    // The URL was split together with its title; the extension must come
    // from the URL alone, or "x.html||Top.txt" would count as ".txt".
    UrlParts withTitle = urlParts;
    if (!crackUrl(url)) urlParts = withTitle;
    return addEntry(url, title);
}

}  // namespace

int finishToken(std::string_view token, bool quoted, int fileChecks, bool cut) {
    if (token.empty()) return tokenGoesOn;
    std::string work;
    // Placeholders are for paths and names. A URL's percent escapes such as
    // %DD% or %0D%0A would read as the date, so a token that holds a URL
    // scheme is taken as written.
    if (settings.parametersOn && !holdsUrlScheme(token)) {
        expandFolderAndDate(token);
        work = text::cut(lastExpansion, cap::token);
    } else {
        work = std::string(token);
    }
    work = removeBlanks(unquoteSpaces(work));
    if (work.empty()) return tokenGoesOn;

    if (fileChecks > 0) {
        platform::Platform& os = platform::os();
        // A relative name means what it meant where the program started,
        // whatever folder is current now; it is kept in full.
        const std::string file = besideStartFolder(work);
        if (os.isDirectory(file)) return storePath(withoutTrailingBackslash(file), recognizedFolder);
        if (os.fileExists(file)) {
            int kind = fileKindByExtension(file);
            if (kind == fileKindHtml) return storePath(file, recognizedHtmlFile);
            if (kind != fileKindShortcut) return storePath(file, recognizedOtherFile);
            std::string tooLong;
            std::string url = readShortcutUrl(file, &tooLong);
            if (!tooLong.empty()) noteOverlongUrl(tooLong, overlong::url);
            if (!url.empty() && addEntry(url, splitPath(file).name)) return recognizedUrls;
        }
    }

    bool toEnd = false;
    int found = findFirstUrl(work, quoted ? 1 : 0, &toEnd, settings.titleSeparator);
    // A redirect link or a tracked one too long as it stands can still be
    // opened by what cleaning leaves of it; unless the token was cut
    // inside it.
    if (found == findTooLong && !(cut && toEnd) && cleaningMakesItFit(urlBeforeTitle(work)))
        found = 0;
    if (found == findTooLong) noteOverlongUrl(work, overlong::url);
    if (found != 0) return tokenGoesOn;
    // A URL that runs into the end of a cut token lost its own end: opening
    // what is left would open another page. (When the title separator comes
    // first, only the title was cut.)
    if (cut && toEnd && text::findNoCase(work, settings.titleSeparator) == text::npos) {
        noteOverlongUrl(work, overlong::token);
        return tokenGoesOn;
    }
    return addFoundUrl(work) ? recognizedUrls : tokenGoesOn;
}
