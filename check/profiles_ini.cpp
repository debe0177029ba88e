// profiles.ini: "[section]" lines and "key=value" lines, blanks around
// both trimmed, ';' and '#' lines comments; a repeated key keeps its first
// value.
#include "check/profiles_ini.h"

#include <map>

namespace {

using Section = std::map<std::string, std::string, std::less<>>;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::map<std::string, Section, std::less<>> sectionsOf(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::map<std::string, Section, std::less<>> sections;
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            current = close == std::string_view::npos ? nullptr
                                                      : &sections[std::string(line.substr(1, close - 1))];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        current->emplace(std::string(trimmed(line.substr(0, eq))), std::string(trimmed(line.substr(eq + 1))));
    }
    return sections;
}

const std::string* valueOf(const Section& section, std::string_view key) {
    const auto found = section.find(key);
    return found == section.end() ? nullptr : &found->second;
}

}  // namespace

ProfilesIni readProfilesIni(std::string_view text) {
    const auto sections = sectionsOf(text);
    ProfilesIni out;
    std::vector<std::string> installDefaults;
    for (const auto& [name, section] : sections) {
        if (name.compare(0, 7, "Install") != 0) continue;
        if (const std::string* path = valueOf(section, "Default")) installDefaults.push_back(*path);
    }
    for (std::size_t n = 0;; ++n) {
        const auto found = sections.find("Profile" + std::to_string(n));
        if (found == sections.end()) break;
        const Section& section = found->second;
        const std::string* relative = valueOf(section, "IsRelative");
        if (!relative) break;
        const std::string* path = valueOf(section, "Path");
        const std::string* name = valueOf(section, "Name");
        if (!path || !name || path->empty()) continue;
        if (out.profiles.size() >= maxIniProfiles) {
            out.more = true;
            break;
        }
        FirefoxProfile profile;
        profile.name = *name;
        profile.path = *path;
        profile.relative = *relative == "1";
        const std::string* legacy = valueOf(section, "Default");
        bool named = false;
        for (const std::string& d : installDefaults) named = named || d == profile.path;
        profile.isDefault = installDefaults.empty() ? legacy && *legacy == "1" : named;
        out.profiles.push_back(std::move(profile));
    }
    return out;
}
