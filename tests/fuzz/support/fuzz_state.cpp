// Resetting the core's records between fuzz runs, and the capacity checks.
#include "tests/fuzz/support/fuzz_state.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/recognize.h"

#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/list_file.h"
#include "links/shortcut_folder.h"
#include "links/url_cleaning.h"
#include "menu/menu_state.h"
#include "platform/ui_port.h"
#include "settings/association_table.h"
#include "settings/cleaning_options.h"
#include "settings/filter_groups.h"
#include "settings/settings.h"
#include "template/browser_port.h"
#include "template/folder_date.h"
#include "template/url_parts.h"
#include "template/url_template.h"

void fuzzFailure(const char* file, int line, const char* condition, const char* what) {
    std::fprintf(stderr, "FUZZ CHECK FAILED at %s:%d: %s (%s)\n", file, line, condition, what);
    std::abort();
}

namespace {

// The big tables are emptied in place: a fresh copy of each would cost
// more than many a run.
void clearUrlList() {
    urlList.urlCount = 0;
    for (UrlEntry& e : urlList.entries) {
        e.url.clear();
        e.title.clear();
        e.scheme.clear();
        e.extension.clear();
        e.kind = Anchor;
    }
    savedUrlList.count = 0;
    for (UrlEntry& s : savedUrlList.entries) s = UrlEntry{};
}

void clearAssociationTable() {
    for (AssociationItem& item : associationTable.items) item = AssociationItem{};
    associationTable.itemCount = 0;
    associationTable.programCount = 0;
    associationTable.firstProgram = 0;
}

}  // namespace

FuzzPlatform& resetCore() {
    FuzzPlatform& os = fuzzPlatform();
    os.reset();

    programPaths = ProgramPaths{};
    programPaths.programPath = std::string(fuzzProgramFolder) + "Tavrin.exe";
    programPaths.programName = "Tavrin";
    programPaths.programFolder = fuzzProgramFolder;
    programPaths.settingsFileName = "Tavrin.ini";
    programPaths.settingsPath = fuzzSettingsPath;
    programPaths.helpFilePath = std::string(fuzzProgramFolder) + "Tavrin.txt";
    runState = RunState{};
    runState.screenWidth = 1024;
    runState.maximizedHeight = 738;
    runState.mouseButtonCount = 3;
    startOptions = StartOptions{};
    linkSource = LinkSource{};
    overlongUrls = OverlongUrls{};
    clearUrlList();

    settings = Settings{};
    settings.tempFolder = std::string(fuzzProgramFolder) + "temp";
    settings.alternatePath = fuzzSettingsPath;
    settings.pageExtensions[0] = ".html";
    settings.pageExtensions[1] = ".htm";
    settings.pageExtensionCount = 2;
    userParameters = UserParameters{};
    filterGroups = FilterGroups{};
    resetFilterGroups();
    listPrograms = ListPrograms{};
    clearAssociationTable();
    dispatchState = DispatchState{};
    shortcutScan = ShortcutScan{};
    menuState = MenuState{};
    urlParts = UrlParts{};
    lastExpansion.clear();
    multiUrlFlag = 0;
    browserUrl.clear();

    installUi(nullptr);
    installBrowserPort(&bridgeBrowserPort());
    return os;
}

void useSampleParameters() {
    settings.parametersOn = 1;
    const UserParameter rows[] = {
        {"%dl%", "D:\\Downloads"},
        {"%site%", "http://%host%/%4y%/"},
        {"%host%", "example.com"},
        {"%self%", "[%self%]"},
    };
    userParameters.count = 0;
    for (const UserParameter& row : rows) userParameters.rows[userParameters.count++] = row;
}

FirstLine splitFirstLine(std::string_view text) {
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return {text, std::string_view()};
    return {text.substr(0, lf), text.substr(lf + 1)};
}

void checkHeld(std::string_view text, std::size_t capacity, const char* what) {
    // Whether the last byte kept is half a character depends on the byte
    // after it in the text it was cut from, which is gone: only the room
    // is checked here.
    FUZZ_CHECK(text.size() < capacity, what);
}

void useSampleCleaning() {
    addUnwrapOption("=go.example.com/out?to;*.r.example/*?u", settings.cleaning);
    addStripOption("default;ref*", settings.cleaning);
}

void checkUrlList() {
    FUZZ_CHECK(urlList.urlCount >= 0 && urlList.urlCount <= maxUrlEntries, "urlCount");
    for (int i = 0; i < urlList.urlCount; ++i) {
        const UrlEntry& e = urlList.entries[static_cast<std::size_t>(i)];
        checkHeld(e.url, cap::url, "UrlEntry::url");
        checkHeld(e.title, cap::path, "UrlEntry::title");
        checkHeld(e.scheme, cap::scheme, "UrlEntry::scheme");
        checkHeld(e.extension, cap::path, "UrlEntry::extension");
        FUZZ_CHECK(e.kind == Anchor || e.kind == Image, "UrlEntry::kind");
        checkHeld(e.givenUrl, cap::url, "UrlEntry::givenUrl");
        // A link kept beside the one cleaned from it, which can be opened.
        if (!e.givenUrl.empty()) FUZZ_CHECK(e.url.size() < cap::path && e.url != e.givenUrl, "a cleaned link");
    }
    FUZZ_CHECK(savedUrlList.count >= 0 && savedUrlList.count <= maxUrlEntries, "savedUrlList.count");
    for (const OverlongNote& note : overlongUrls.notes) FUZZ_CHECK(note.head.size() < 100, "overlong head");
    FUZZ_CHECK(runState.transferBuffer.size() < cap::transfer, "transferBuffer");
    checkHeld(linkSource.baseUrl, cap::path, "baseUrl");
    checkHeld(linkSource.listTitle, cap::path, "listTitle");
    FUZZ_CHECK(linkSource.listSource.size() < cap::url, "listSource");
}

void checkSettings() {
    checkHeld(settings.separator, cap::separator, "separator");
    checkHeld(settings.titleSeparator, cap::separator, "titleSeparator");
    checkHeld(settings.searchPathList, cap::searchPathList, "searchPathList");
    checkHeld(settings.alternatePath, cap::path, "alternatePath");
    checkHeld(settings.editorProgram, cap::path, "editorProgram");
    FUZZ_CHECK(settings.pageExtensionCount >= 0 && settings.pageExtensionCount <= 10, "pageExtensionCount");
    for (const std::string& e : settings.pageExtensions) checkHeld(e, cap::listItem, "pageExtensions");
    FUZZ_CHECK(settings.browserServiceCount >= 0 && settings.browserServiceCount <= 10,
               "browserServiceCount");
    for (const std::string& s : settings.browserServices) checkHeld(s, cap::listItem, "browserServices");
    checkHeld(settings.menuTitle, cap::path, "menuTitle");
    checkHeld(settings.loaderProgram, cap::path, "loaderProgram");
    checkHeld(settings.loaderParameters, cap::path, "loaderParameters");
    checkHeld(settings.tempFolder, cap::path, "tempFolder");
    FUZZ_CHECK(settings.timeoutSeconds > 0, "timeoutSeconds");
    FUZZ_CHECK(settings.firstPause >= 0 && settings.firstPause <= 10000, "firstPause");
    FUZZ_CHECK(settings.laterPause >= 0 && settings.laterPause <= 10000, "laterPause");
    FUZZ_CHECK(settings.titleLength == 0 || (settings.titleLength >= 3 && settings.titleLength <= 254),
               "titleLength");
    FUZZ_CHECK(userParameters.count >= 0 && userParameters.count <= 10, "userParameters.count");
    FUZZ_CHECK(settings.cleaning.redirectors.size() <= maxUserRedirectors &&
                   settings.cleaning.stripNames.size() <= maxUserStripNames,
               "cleaning options");
    for (const UserParameter& p : userParameters.rows) {
        checkHeld(p.name, cap::paramName, "parameter name");
        checkHeld(p.value, cap::path, "parameter value");
    }
    FUZZ_CHECK(filterGroups.groupCount >= 1 && filterGroups.groupCount <= 10, "groupCount");
    for (const FilterGroup& g : filterGroups.groups) {
        FUZZ_CHECK(g.count >= 0 && g.count <= 10, "filter group count");
        for (const std::string& item : g.items) checkHeld(item, cap::filterItem, "filter item");
    }
    FUZZ_CHECK(listPrograms.listProgramCount >= 0 && listPrograms.listProgramCount <= 10,
               "listProgramCount");
    for (const ListProgram& p : listPrograms.rows) {
        checkHeld(p.programFile, cap::path, "list program");
        checkHeld(p.caption, cap::path, "list program caption");
        checkHeld(p.extraParameters, cap::path, "list program parameters");
    }
    checkHeld(programPaths.settingsPath, cap::path, "settingsPath");
}

void checkAssociationTable() {
    const AssociationTable& t = associationTable;
    FUZZ_CHECK(t.itemCount >= 0 && t.itemCount <= maxAssociationItems, "itemCount");
    FUZZ_CHECK(t.programCount >= 0 && t.programCount <= t.itemCount, "programCount");
    if (t.programCount > 0) {
        FUZZ_CHECK(t.firstProgram >= 0 && t.firstProgram < t.itemCount, "firstProgram");
        FUZZ_CHECK(t.items[static_cast<std::size_t>(t.firstProgram)].kind == itemProgram, "firstProgram kind");
    }
    for (int i = 0; i < t.itemCount; ++i) {
        const AssociationItem& item = t.items[static_cast<std::size_t>(i)];
        checkHeld(item.command, cap::path, "item command");
        checkHeld(item.caption, cap::path, "item caption");
        checkHeld(item.folder, cap::path, "item folder");
        if (item.kind == itemProgram && item.subCount > 0) {
            FUZZ_CHECK(item.firstSub > i && item.firstSub < t.itemCount, "firstSub");
            FUZZ_CHECK(t.items[static_cast<std::size_t>(item.firstSub)].kind == itemSubCommand, "firstSub kind");
        }
        if (item.kind == itemSubCommand) {
            FUZZ_CHECK(item.owner >= 0 && item.owner < i, "owner");
            FUZZ_CHECK(t.items[static_cast<std::size_t>(item.owner)].kind == itemProgram, "owner kind");
        }
    }
}

void checkUrlParts() {
    FUZZ_CHECK(urlParts.scheme.size() < cap::scheme, "scheme");
    FUZZ_CHECK(urlParts.hostName.size() < cap::path, "hostName");
    FUZZ_CHECK(urlParts.userName.size() < cap::path, "userName");
    FUZZ_CHECK(urlParts.password.size() < cap::path, "password");
    FUZZ_CHECK(urlParts.urlPath.size() < cap::path, "urlPath");
    FUZZ_CHECK(urlParts.extraInfo.size() < cap::path, "extraInfo");
}

namespace {

// What reading a written title gives: quotes and '>' full-width (as the
// writer puts them), no tabs or CRs (recognition drops them), no blanks
// at the end (the token is trimmed).
std::string titleAsReadBack(std::string_view title) {
    std::string mapped;
    const std::string cutTitle = text::cut(title, cap::path);
    for (std::size_t i = 0; i < cutTitle.size();) {
        const std::size_t n = text::charLength(cutTitle, i);
        if (n == 1 && cutTitle[i] == '"') mapped += "\x81\x68";
        else if (n == 1 && cutTitle[i] == '>') mapped += "\x81\x84";
        else mapped.append(cutTitle, i, n);
        i += n;
    }
    std::string out;
    for (char c : text::cut(mapped, cap::path))
        if (c != '\t' && c != '\r') out += c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    // Without its tabs, malformed text may end in a lead byte that the
    // entry's cut then drops.
    return text::cut(out, cap::path);
}

std::string shown(const std::string& t) {
    std::string o;
    for (unsigned char c : t) {
        char b[8];
        if (c < 0x20 || c >= 0x7f) {
            std::snprintf(b, sizeof b, "\\x%02x", c);
            o += b;
        } else {
            o += static_cast<char>(c);
        }
    }
    return o;
}

}  // namespace

void checkListRoundTrip() {
    struct Row { std::string url, title; };
    std::vector<Row> rows;
    for (int i = 0; i < urlList.urlCount; ++i)
        rows.push_back({urlList.entries[static_cast<std::size_t>(i)].url,
                        urlList.entries[static_cast<std::size_t>(i)].title});
    for (const Row& row : rows) {
        // URLs that no list line can carry: with a quote or '>' (never
        // valid in a URL), blanks at an end, or the title separator (also
        // where the URL's end and the separator make one, as "x|" + "||").
        if (row.url.empty() || row.url.find_first_of(">\"\t") != std::string::npos || row.url.back() == ' ' ||
            row.url.front() == ' ' ||
            text::findNoCase(row.url + settings.titleSeparator, settings.titleSeparator) != row.url.size())
            continue;
        // A link within more redirect links than one cleaning unwraps
        // reads back cleaner still.
        if (cleanUrl(row.url, settings.cleaning).changed) continue;
        const std::string line = formatListLine(row.url, row.title, settings.titleSeparator);
        recognizeInput(line, 1, 0);
        const std::string want = titleAsReadBack(row.title);
        const bool same = urlList.urlCount == 1 && urlList.entries[0].url == row.url &&
                          urlList.entries[0].title == want;
        if (!same)
            std::fprintf(stderr, "list line [%s] read back as %d rows: [%s] [%s], wanted [%s] [%s]\n",
                         shown(line).c_str(), urlList.urlCount,
                         urlList.urlCount ? shown(urlList.entries[0].url).c_str() : "",
                         urlList.urlCount ? shown(urlList.entries[0].title).c_str() : "",
                         shown(row.url).c_str(), shown(want).c_str());
        FUZZ_CHECK(same, "a row written to a list file reads back the same");
    }
}
