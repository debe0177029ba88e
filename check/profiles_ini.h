// The profiles of a Firefox-family browser, from the profiles.ini of its
// application-data folder, read as the browser reads it: sections
// [Profile0], [Profile1] ... in turn up to the first that is missing, each
// with IsRelative, Path and Name; the default is the one an [Install...]
// section names, else the one marked Default=1.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct FirefoxProfile {
    std::string name;  // as the profile manager shows it, UTF-8
    std::string path;  // as written: relative to the file's folder, with '/', when `relative`
    bool relative = true;
    bool isDefault = false;
};

struct ProfilesIni {
    std::vector<FirefoxProfile> profiles;
    bool more = false;  // profiles beyond maxIniProfiles left out
};

constexpr std::size_t maxIniProfiles = 200;

ProfilesIni readProfilesIni(std::string_view text);
