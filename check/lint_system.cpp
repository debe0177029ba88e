// The "[system]" block, read line by line as the loader reads it: each
// option line is applied with the loader's own handler, so that every
// later line sees the separator, the parameters and the search list that
// the loader would have at that point; the checks run just before.
#include "check/lint_context.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/cleaning_options.h"
#include "settings/filter_groups.h"
#include "settings/find_program.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"
#include "settings/system_options.h"
#include "settings/user_parameters.h"
#include "template/folder_date.h"

namespace {

constexpr int maxItems = 10;

// The items of a ";" list, as the loader splits them.
std::vector<std::string> listItems(std::string_view value) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < value.size()) {
        std::size_t end = text::findByte(value, ';', pos);
        if (end == text::npos) end = value.size();
        items.emplace_back(value.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

void lintItemList(LintContext& c, int line, std::string_view key, std::string_view value,
                  std::size_t capacity, bool extensions) {
    int count = 0;
    for (const std::string& item : listItems(value)) {
        if (item.empty()) continue;
        if (count == maxItems) {
            c.add(line, LintRule::tooManyItems, {std::string(key), std::to_string(maxItems), item});
            break;
        }
        ++count;
        if (item.size() > capacity - 1)
            c.add(line, LintRule::valueCut, {std::string(key), std::to_string(capacity - 1), item});
        if (item[0] == ' ') c.add(line, LintRule::blankInList, {std::string(key), item});
        else if (extensions && item[0] != '.') c.add(line, LintRule::itemWithoutDot, {item});
    }
}

// "@editor=" and "@loader=": looked up with the search list the loader has
// at this line.
bool programFoundNow(std::string_view value) {
    const ProgramLookup found = findProgram(expandWhenParametersOn(value), 1);
    return found.programFound && !platform::os().isDirectory(found.path);
}

// What an out-of-range number stands for, in both languages.
struct NumberMeaning {
    const char* japanese;
    const char* english;
};

const NumberMeaning noPause{"待ち時間なしになります (待ち時間は 1～10000 ミリ秒)",
                            "no pause (a pause is 1 to 10000 ms)"};
const NumberMeaning noLimit{"長さの制限なしになります (長さは 3～254 文字)",
                            "no limit (a length is 3 to 254 characters)"};
const NumberMeaning defaultTimeout{"既定の 30 秒になります (0 や数でない値は 30 秒)",
                                   "the default of 30 seconds (0 and values that are no number do)"};

void lintNumber(LintContext& c, int line, std::string_view key, std::string_view token,
                int low, int high, const NumberMeaning& meaning) {
    const int n = text::toInt(text::cut(token, 7));
    if (n < low || n > high)
        c.add(line, LintRule::numberIgnored, {std::string(key), std::string(token), meaning.japanese, meaning.english});
}

// Options that take one value only: their name, that value and what it does.
struct FixedValueOption {
    std::string_view name;
    std::string_view value;
    const char* japanese;
    const char* english;
};

const FixedValueOption fixedValueOptions[] = {
    {"@mark=", "0", "@mark=0 でサブコマンドが一つのプログラムの \" *\" を付けません",
     "@mark=0 leaves out the \" *\" after a program with one sub-command"},
    {"@temp=", "del", "@temp=del で起動するたびに temp フォルダーを空にします",
     "@temp=del empties the temp folder at every start"},
    {"@active=", "1", "@active=1 でメニューの前にウィンドウを強く前面に出します",
     "@active=1 brings Tavrin's window to the front more forcefully before the menu"},
};

// An option known by its name whose value is not the one it takes.
const FixedValueOption* fixedValueOption(std::string_view line) {
    for (const FixedValueOption& option : fixedValueOptions)
        if (text::startsWithNoCase(line, option.name)) return &option;
    return nullptr;
}

// The separator's blanks are part of it; a value that begins with a blank
// but does not end with one is most often a line whose last blank, unseen,
// was lost (" |" for " | ").
void lintSeparatorBlanks(LintContext& c, int line, std::string_view key, std::string_view value) {
    if (value.empty()) return;
    if (value.front() == ' ' && value.back() != ' ')
        c.add(line, LintRule::separatorBlanks, {std::string(key), std::string(value), std::to_string(value.size())});
}

// "10th", "11th", "21st" ... for the English text; the Japanese one counts
// with 個目.
std::string ordinal(int n) {
    const int lastTwo = n % 100, last = n % 10;
    const char* suffix = lastTwo >= 11 && lastTwo <= 13 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
    return std::to_string(n) + suffix;
}

// The search list at the end of the loading, for telling a program that is
// found only through a later "@path=".
struct SearchState {
    int set = 0;
    std::string list;
};

void lintPathValue(LintContext& c, int line, std::string_view value) {
    const ProgramLookup file = findProgram(std::string(value), 0);
    if (file.programFound && !platform::os().isDirectory(file.path)) return;  // a list file
    if (value.size() > cap::searchPathList - 1)
        c.add(line, LintRule::valueCut, {"@path=", std::to_string(cap::searchPathList - 1), "…"});
    for (const std::string& folder : listItems(value))
        if (!folder.empty() && !platform::os().isDirectory(folder))
            c.add(line, LintRule::searchFolderMissing, {folder});
}

void lintMenuValue(LintContext& c, int line, std::string_view value) {
    const std::size_t comma = value.find(',');
    const std::string first = text::cut(value.substr(0, comma), 7);
    for (const char* word : {"mouse", "mous2", "center", "active"})
        if (text::containsNoCase(first, word)) return;
    if (comma != std::string_view::npos) return;
    c.add(line, LintRule::menuValueIgnored, {std::string(value)});
}

void lintLookedUpProgram(LintContext& c, int line, std::string_view key, std::string_view value,
                         const SearchState& finalSearch) {
    lintPlaceholders(c, line, value);
    if (programFoundNow(value)) return;
    if (key == "@loader=") {
        c.add(line, LintRule::loaderNotFound, {std::string(value)});
        return;
    }
    // Would the search list of the finished loading have found it?
    const int set = settings.searchPathSet;
    const std::string list = settings.searchPathList;
    settings.searchPathSet = finalSearch.set;
    settings.searchPathList = finalSearch.list;
    const bool later = programFoundNow(value);
    settings.searchPathSet = set;
    settings.searchPathList = list;
    c.add(line, later ? LintRule::editorFoundOnlyLater : LintRule::editorNotFound, {std::string(value)});
}

// "@unwrap=" entries, counted over every line of the option.
void lintUnwrapValue(LintContext& c, int line, std::string_view value) {
    if (value.empty() || value.front() != '=') return;
    std::size_t count = settings.cleaning.redirectors.size();
    for (std::string_view item : cleaningItems(value.substr(1), false)) {
        RedirectorEntry entry;
        if (parseRedirectorEntry(item, entry) != RedirectorForm::ok) {
            c.add(line, LintRule::unwrapEntryMalformed, {std::string(item)});
        } else if (++count > maxUserRedirectors) {
            c.add(line, LintRule::tooManyItems, {"@unwrap=", std::to_string(maxUserRedirectors), std::string(item)});
            return;
        }
    }
}

void lintStripValue(LintContext& c, int line, std::string_view value) {
    std::size_t count = settings.cleaning.stripNames.size();
    for (std::string_view item : cleaningItems(value, true)) {
        StripName name;
        const StripNameForm form = parseStripName(item, name);
        if (form == StripNameForm::defaultList) continue;
        if (form != StripNameForm::ok) {
            c.add(line, LintRule::stripNameMalformed, {std::string(item)});
            continue;
        }
        if (++count > maxUserStripNames) {
            c.add(line, LintRule::tooManyItems, {"@strip=", std::to_string(maxUserStripNames), std::string(item)});
            return;
        }
        if (name.prefix && name.name.empty()) c.add(line, LintRule::stripEverything);
    }
}

void lintOption(LintContext& c, int line, std::string_view key, std::string_view value,
                const SearchState& finalSearch) {
    if (key == "@dlm=" || key == "@dlm2=") {
        if (value.size() > cap::separator - 1)
            c.add(line, LintRule::valueCut, {std::string(key), std::to_string(cap::separator - 1), std::string(value)});
        lintSeparatorBlanks(c, line, key, value);
    } else if (key == "@path=") {
        lintPathValue(c, line, value);
    } else if (key == "@menu=") {
        lintMenuValue(c, line, value);
    } else if (key == "@len=") {
        lintNumber(c, line, key, value, 3, 254, noLimit);
    } else if (key == "@ext2=") {
        const std::string path = programPaths.programFolder + std::string(value);
        if (!platform::os().fileExists(path) || platform::os().isDirectory(path))
            c.add(line, LintRule::alternateFileMissing, {std::string(value)});
    } else if (key == "@editor=" || key == "@loader=") {
        lintLookedUpProgram(c, line, key, value, finalSearch);
    } else if (key == "@search=") {
        lintItemList(c, line, key, value, cap::listItem, true);
    } else if (key == "@dde=") {
        lintItemList(c, line, key, value, cap::listItem, false);
    } else if (key == "@name=") {
        if (value.size() > cap::path - 1)
            c.add(line, LintRule::valueCut, {std::string(key), std::to_string(cap::path - 1), std::string(value)});
    } else if (key == "@timeout=") {
        lintNumber(c, line, key, value.substr(0, value.find(',')), 1, 0x7fffffff, defaultTimeout);
    } else if (key == "@scheme=") {
        bool named = false;
        for (const char* kind : {"http", "ftp", "mailto", "file"})
            named = named || text::containsNoCase(value, kind);
        if (!named) c.add(line, LintRule::schemeNamesNone);
        if (value.find(' ') != std::string_view::npos)
            c.add(line, LintRule::blankInList, {std::string(key), std::string(value)});
    } else if (key == "@unwrap") {
        lintUnwrapValue(c, line, value);
    } else if (key == "@strip=") {
        lintStripValue(c, line, value);
    } else if (key == "@dist=") {
        const std::size_t comma = value.find(',');
        lintNumber(c, line, key, value.substr(0, comma), 1, 10000, noPause);
        if (comma != std::string_view::npos) {
            std::string_view second = value.substr(comma + 1);
            lintNumber(c, line, key, second.substr(0, second.find(',')), 1, 10000, noPause);
        }
    }
}

void lintFilterGroup(LintContext& c, int line, std::string_view items) {
    int count = 0;
    for (const std::string& item : listItems(items)) {
        if (item.empty()) continue;
        if (count == maxItems) {
            c.add(line, LintRule::tooManyItems, {"@filter", std::to_string(maxItems), item});
            break;
        }
        ++count;
        if (item.size() > cap::filterItem - 1)
            c.add(line, LintRule::valueCut, {"@filter", std::to_string(cap::filterItem - 1), item});
    }
}

// The parameter pairs after the first "@param" of the text, as
// readUserParameters reads them with the separator in force.
void lintParameters(LintContext& c, std::size_t first) {
    std::size_t consumed = 0;
    readSettingsLine(c.text, first, consumed);
    LineCursor cursor(c.text, first + consumed, c.lineOf(first) + 1);
    SettingsLine line;
    int pairs = 0;
    while (cursor.next(line)) {
        const std::size_t split = text::findNoCase(line.text, settings.separator);
        if (split == text::npos) break;
        if (pairs == static_cast<int>(userParameters.rows.size())) {
            c.add(line.number, LintRule::tooManyParameters);
            break;
        }
        ++pairs;
        const std::string name = line.text.substr(0, split);
        const std::string value = line.text.substr(split + settings.separator.size());
        if (name.size() > cap::paramName - 1)
            c.add(line.number, LintRule::valueCut, {"@param", std::to_string(cap::paramName - 1), name});
        if (value.size() > cap::path - 1)
            c.add(line.number, LintRule::valueCut, {"@param", std::to_string(cap::path - 1), value});
        if (name.size() < 2 || name.front() != '%' || name.back() != '%')
            c.add(line.number, LintRule::parameterNameWithoutPercent, {name});
    }
}

}  // namespace

void lintSystemBlock(LintContext& c) {
    const std::size_t start = lineAfterHeader(c.text, "[system]");
    if (start == text::npos) return;
    const std::string systemKey = "[system]";

    // The loader's records as the whole loading left them; the walk below
    // starts them afresh and puts them back at the end.
    const Settings finalSettings = settings;
    const UserParameters finalParameters = userParameters;
    const FilterGroups finalFilters = filterGroups;
    const SearchState finalSearch{settings.searchPathSet, settings.searchPathList};
    settings.separator = " | ";
    settings.titleSeparator = "||";
    settings.parametersOn = 0;
    settings.searchPathSet = 0;
    settings.searchPathList.clear();
    settings.editorProgram.clear();
    settings.loaderProgram.clear();
    settings.cleaning = LinkCleaning{};
    userParameters.count = 0;
    resetFilterGroups();

    OptionFollowUp state = OptionFollowUp::none;
    bool filtersFull = false;
    int groupsWritten = 0;  // non-empty "@filter" groups of the file, as written
    bool ended = false;
    std::size_t offset = start;
    int number = c.lineOf(start);
    for (;;) {
        std::size_t consumed = 0;
        const std::string raw = readSettingsLine(c.text, offset, consumed);
        if (offset >= c.text.size() || offset + consumed > c.text.size()) break;
        const std::string_view line = text::skipLeadingSpaces(raw);
        std::size_t advance = consumed;

        if (const HeaderLine* next = c.headerStartingAt(offset)) {
            c.add(c.lineOf(start) - 1, LintRule::missingEnd, {systemKey, next->key, std::to_string(next->line)});
            ended = true;
            break;
        }
        if (!line.empty() && line[0] == ';') {
            // Comments keep the state.
        } else if (text::startsWithNoCase(line, "%end")) {
            ended = true;
            break;
        } else if (!line.empty() && line[0] == '>' && state == OptionFollowUp::loaderParameterLine) {
            if (line.size() - 1 > cap::path - 1)
                c.add(number, LintRule::valueCut, {"@loader= >", std::to_string(cap::path - 1), std::string(line.substr(1))});
            lintPlaceholders(c, number, line.substr(1));
            state = OptionFollowUp::none;
        } else if (!line.empty() && line[0] == '>' && state == OptionFollowUp::filterLines) {
            lintFilterGroup(c, number, line.substr(1));
            const int before = filterGroups.groupCount;
            addFilterGroup(line.substr(1));
            if (filterGroups.groupCount > before) ++groupsWritten;
            if (filterGroups.groupCount >= static_cast<int>(filterGroups.groups.size())) {
                state = OptionFollowUp::none;
                filtersFull = true;
            }
        } else if (!line.empty() && line[0] == '>' && filtersFull) {
            c.add(number, LintRule::filterBeyondTenth, {std::to_string(++groupsWritten), ordinal(groupsWritten)});
            state = OptionFollowUp::none;
        } else if (!line.empty() && line[0] == '>') {
            c.add(number, LintRule::strayParameterLine);
            state = OptionFollowUp::none;
        } else {
            state = OptionFollowUp::none;
            filtersFull = false;
            const SystemOptionKey* key = line.empty() ? nullptr : matchSystemOptionKey(line);
            if (line.empty()) {
                // A blank line only ends a run of filter or loader lines.
            } else if (line[0] != '@') {
                c.add(number, LintRule::notAnOption, {std::string(line)});
            } else if (const FixedValueOption* fixed = key ? nullptr : fixedValueOption(line)) {
                c.add(number, LintRule::optionValueUnknown,
                      {std::string(fixed->name), std::string(fixed->value), fixed->japanese, fixed->english,
                       std::string(line)});
            } else if (!key) {
                c.add(number, LintRule::unknownOption, {std::string(line)});
            } else if (line.size() <= key->minLength) {
                c.add(number, LintRule::optionTooShort,
                      {std::string(key->key), std::to_string(key->minLength + 1 - key->key.size())});
            } else {
                lintOption(c, number, key->key, line.substr(key->key.size()), finalSearch);
                state = applySystemOption(line);
                if (state == OptionFollowUp::parametersBlock) {
                    // As the loader does: the pairs after the file's first
                    // "@param", and on by as many bytes as they took.
                    std::size_t first = findSettingsKey(c.text, "@param");
                    if (first == text::npos) first = offset;
                    if (first < offset || first >= offset + consumed)
                        c.add(number, LintRule::parameterElsewhere, {std::to_string(c.lineOf(first))});
                    lintParameters(c, first);
                    advance = readUserParameters(c.text, first);
                    if (first >= offset && first < offset + consumed) advance += first - offset;
                    state = OptionFollowUp::none;
                }
            }
        }
        offset += advance;
        number = advance == consumed ? number + 1 : c.lineOf(offset);
    }
    if (!ended) c.add(c.lineOf(start) - 1, LintRule::missingEndAtFileEnd, {systemKey});

    settings = finalSettings;
    userParameters = finalParameters;
    filterGroups = finalFilters;
}
