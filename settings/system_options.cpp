// The option keys of the "[system]" block, tested in a fixed order by
// case-insensitive prefix; the first key that matches wins.
#include "settings/system_options.h"

#include <array>
#include <string>
#include <utility>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/cleaning_options.h"
#include "settings/find_program.h"
#include "settings/option_parsers.h"
#include "settings/search_list.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "template/folder_date.h"

namespace {

using Follow = OptionFollowUp;

// Numbers in "@timeout=" and "@dist=" keep at most 6 characters.
constexpr std::size_t numberTokenCapacity = 7;
constexpr int maxListItems = 10;

// The value up to the first `c` (the whole value when absent), and the rest
// after it.
std::pair<std::string_view, std::string_view> splitAt(std::string_view value, char c) {
    std::size_t at = text::findByte(value, c);
    if (at == text::npos) return {value, std::string_view()};
    return {value.substr(0, at), value.substr(at + 1)};
}

int numberToken(std::string_view token) {
    return text::toInt(text::cut(token, numberTokenCapacity));
}

// A pause of "@dist=": 1..10000 ms, anything else none.
int pause(std::string_view token) {
    int ms = numberToken(token);
    return ms >= 1 && ms <= 10000 ? ms : 0;
}

// "@search=" and "@dde=": items split at ";", empty ones skipped.
void readItemList(std::string_view value, std::array<std::string, 10>& items, int& count) {
    count = 0;
    for (auto& item : items) item.clear();
    std::size_t pos = 0;
    while (pos < value.size() && count < maxListItems) {
        std::size_t end = text::findByte(value, ';', pos);
        if (end == text::npos) end = value.size();
        std::string item = text::cut(value.substr(pos, end - pos), cap::listItem);
        if (!item.empty()) items[count++] = std::move(item);
        pos = end + 1;
    }
}

// "@editor=" and "@loader=": the value, expanded, looked up as a program.
ProgramLookup lookUpProgram(std::string_view value, std::string& expanded) {
    expanded = expandWhenParametersOn(value);
    ProgramLookup found = findProgram(expanded, 1);
    if (found.programFound && platform::os().isDirectory(found.path)) found.programFound = false;
    return found;
}

Follow separatorOption(std::string_view v) {
    text::assignCut(settings.separator, v, cap::separator);
    return Follow::none;
}
Follow titleSeparatorOption(std::string_view v) {
    text::assignCut(settings.titleSeparator, v, cap::separator);
    return Follow::none;
}
Follow parametersOption(std::string_view) {
    settings.parametersOn = 1;
    return Follow::parametersBlock;
}
Follow pathOption(std::string_view v) {
    setSearchPath(v);
    return Follow::none;
}
Follow iconOption(std::string_view) {
    settings.showIcons = 1;
    return Follow::none;
}
Follow menuOption(std::string_view v) {
    // A position given on the command line wins over the settings.
    if (settings.menuPosition == menuPositionUnset) parseMenuPosition(std::string(v) + "\r\n");
    return Follow::none;
}
Follow titleLengthOption(std::string_view v) {
    int n = text::toInt(v);
    settings.titleLength = n < 3 || n > 254 ? 0 : n;
    return Follow::none;
}
Follow alternateFileOption(std::string_view v) {
    std::string path = programPaths.programFolder + std::string(v);
    platform::Platform& os = platform::os();
    if (!os.fileExists(path) || os.isDirectory(path)) path = programPaths.settingsPath;
    text::assignCut(settings.alternatePath, path, cap::path);
    return Follow::none;
}
Follow editorOption(std::string_view v) {
    std::string expanded;
    ProgramLookup found = lookUpProgram(v, expanded);
    if (found.programFound) text::assignCut(settings.editorProgram, found.path, cap::path);
    return Follow::none;
}
Follow pageExtensionsOption(std::string_view v) {
    readItemList(v, settings.pageExtensions, settings.pageExtensionCount);
    return Follow::none;
}
Follow browserServicesOption(std::string_view v) {
    readItemList(v, settings.browserServices, settings.browserServiceCount);
    return Follow::none;
}
Follow menuTitleOption(std::string_view v) {
    text::assignCut(settings.menuTitle, v, cap::path);
    return Follow::none;
}
Follow loaderOption(std::string_view v) {
    std::string expanded;
    ProgramLookup found = lookUpProgram(v, expanded);
    text::assignCut(settings.loaderProgram, found.programFound ? found.path : expanded, cap::path);
    return Follow::loaderParameterLine;
}
Follow filterOption(std::string_view) { return Follow::filterLines; }
Follow deleteTempOption(std::string_view) {
    settings.keepTemp = 0;
    return Follow::none;
}
Follow timeoutOption(std::string_view v) {
    auto [seconds, rest] = splitAt(v, ',');
    int n = numberToken(seconds);
    // Zero, a non-number and a negative count all mean the default wait.
    settings.timeoutSeconds = n <= 0 ? 30 : n;
    if (v.size() > seconds.size() && !rest.empty() && rest[0] == '1') settings.pollForFile = 1;
    return Follow::none;
}
Follow schemeOption(std::string_view v) {
    if (settings.schemesFromCommandLine != 1) parseSchemeList(std::string(v) + "\r\n");
    return Follow::none;
}
Follow pauseOption(std::string_view v) {
    auto [first, rest] = splitAt(v, ',');
    settings.firstPause = pause(first);
    const bool twoValues = v.size() > first.size();
    settings.laterPause = twoValues ? pause(splitAt(rest, ',').first) : settings.firstPause;
    return Follow::none;
}
Follow noMarkOption(std::string_view) {
    settings.subCommandMark = 0;
    return Follow::none;
}
Follow activateOption(std::string_view) {
    settings.activateMenuWindow = 1;
    return Follow::none;
}
Follow unwrapOption(std::string_view v) {
    addUnwrapOption(v, settings.cleaning);
    return Follow::none;
}
Follow stripOption(std::string_view v) {
    addStripOption(v, settings.cleaning);
    return Follow::none;
}

struct Option {
    SystemOptionKey name;  // the line must be longer than name.minLength
    Follow (*apply)(std::string_view value);
};

constexpr Option options[] = {
    {{"@dlm=", 6}, separatorOption},
    {{"@dlm2=", 7}, titleSeparatorOption},
    {{"@param", 0}, parametersOption},
    {{"@path=", 6}, pathOption},
    {{"@icon", 0}, iconOption},
    {{"@menu=", 8}, menuOption},
    {{"@len=", 0}, titleLengthOption},
    {{"@ext2=", 0}, alternateFileOption},
    {{"@editor=", 0}, editorOption},
    {{"@search=", 9}, pageExtensionsOption},
    {{"@dde=", 5}, browserServicesOption},
    {{"@name=", 0}, menuTitleOption},
    {{"@loader=", 0}, loaderOption},
    {{"@filter", 0}, filterOption},
    {{"@temp=del", 0}, deleteTempOption},
    {{"@timeout=", 9}, timeoutOption},
    {{"@scheme=", 10}, schemeOption},
    {{"@dist=", 6}, pauseOption},
    {{"@mark=0", 0}, noMarkOption},
    {{"@active=1", 0}, activateOption},
    {{"@unwrap", 0}, unwrapOption},
    {{"@strip=", 7}, stripOption},
};

const Option* matchOption(std::string_view line) {
    for (const Option& option : options)
        if (text::startsWithNoCase(line, option.name.key)) return &option;
    return nullptr;
}

}  // namespace

OptionFollowUp applySystemOption(std::string_view line) {
    const Option* option = matchOption(line);
    if (!option || line.size() <= option->name.minLength) return Follow::none;
    return option->apply(line.substr(option->name.key.size()));
}

const SystemOptionKey* matchSystemOptionKey(std::string_view line) {
    const Option* option = matchOption(line);
    return option ? &option->name : nullptr;
}
