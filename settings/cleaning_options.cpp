// Reading "@unwrap" and "@strip=". Malformed items are left out (the check
// tool names them); well-formed ones add up over all lines of the option.
#include "settings/cleaning_options.h"

#include "common/text.h"
#include "settings/host_pattern.h"

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// None of these bytes is the trail byte of a double-byte character.
bool holdsAnyOf(std::string_view s, std::string_view bytes) {
    for (char c : bytes)
        if (text::findByte(s, c) != text::npos) return true;
    return false;
}

}  // namespace

std::vector<std::string_view> cleaningItems(std::string_view value, bool commasToo) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = text::findByte(value, ';', start);
        if (commasToo) {
            const std::size_t comma = text::findByte(value, ',', start);
            if (comma < end) end = comma;
        }
        if (end == text::npos) end = value.size();
        const std::string_view item = trimBlanks(value.substr(start, end - start));
        if (!item.empty()) items.push_back(item);
        start = end + 1;
    }
    return items;
}

RedirectorForm parseRedirectorEntry(std::string_view item, RedirectorEntry& entry) {
    item = trimBlanks(item);
    for (std::string_view scheme : {"http://", "https://"})
        if (text::startsWithNoCase(item, scheme)) item.remove_prefix(scheme.size());
    const std::size_t question = text::findByte(item, '?');
    if (question == text::npos) return RedirectorForm::noQuestionMark;
    std::string_view parameter = item.substr(question + 1);
    if (!parameter.empty() && parameter.back() == '=') parameter.remove_suffix(1);
    if (parameter.empty()) return RedirectorForm::noParameter;
    if (holdsAnyOf(parameter, "&=#? ")) return RedirectorForm::badParameter;
    const std::string_view place = item.substr(0, question);
    const std::size_t slash = text::findByte(place, '/');
    if (slash == text::npos) return RedirectorForm::noPath;
    const std::string_view host = place.substr(0, slash);
    const std::string_view path = place.substr(slash);
    const HostPatternForm form = hostPatternForm(host);
    if (form != HostPatternForm::exact && form != HostPatternForm::wildcard)
        return RedirectorForm::badHost;
    const std::size_t star = text::findByte(path, '*');
    if (star != text::npos && star + 1 != path.size()) return RedirectorForm::badPath;
    entry.name.clear();
    entry.hosts = std::string(host);
    entry.path = std::string(path);
    entry.parameter = std::string(parameter);
    return RedirectorForm::ok;
}

StripNameForm parseStripName(std::string_view item, StripName& name) {
    item = trimBlanks(item);
    if (text::equalsNoCase(item, "default")) return StripNameForm::defaultList;
    if (holdsAnyOf(item, "=&?# ")) return StripNameForm::badCharacter;
    const std::size_t star = text::findByte(item, '*');
    if (star != text::npos && star + 1 != item.size()) return StripNameForm::wildcardInside;
    name.prefix = star != text::npos;
    name.name = std::string(name.prefix ? item.substr(0, star) : item);
    return StripNameForm::ok;
}

void addUnwrapOption(std::string_view afterKey, LinkCleaning& cleaning) {
    cleaning.unwrap = true;
    if (afterKey.empty() || afterKey.front() != '=') return;
    for (std::string_view item : cleaningItems(afterKey.substr(1), false)) {
        if (cleaning.redirectors.size() >= maxUserRedirectors) return;
        RedirectorEntry entry;
        if (parseRedirectorEntry(item, entry) == RedirectorForm::ok)
            cleaning.redirectors.push_back(std::move(entry));
    }
}

void addStripOption(std::string_view value, LinkCleaning& cleaning) {
    for (std::string_view item : cleaningItems(value, true)) {
        StripName name;
        const StripNameForm form = parseStripName(item, name);
        if (form == StripNameForm::defaultList) cleaning.stripDefault = true;
        else if (form == StripNameForm::ok && cleaning.stripNames.size() < maxUserStripNames)
            cleaning.stripNames.push_back(std::move(name));
    }
}
