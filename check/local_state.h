// The profiles a Chromium-family browser (Chrome, Edge, Brave, Vivaldi,
// Opera ...) lists in the "Local State" file of its user data folder: JSON
// whose "profile"."info_cache" object has one member per profile folder,
// holding the name the browser shows, and whose "profile"."profiles_order"
// gives their order. The file is the browser's, read while it may be
// writing it: a file cut short yields the profiles read before the cut.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ChromiumProfile {
    std::string folder;  // the folder's name in the user data folder ("Profile 3")
    std::string name;    // the name the browser shows ("Work"), UTF-8
};

struct LocalStateProfiles {
    std::vector<ChromiumProfile> profiles;  // in the browser's order
    bool complete = false;  // the whole file read as JSON
    bool more = false;      // profiles beyond maxLocalStateProfiles left out
};

constexpr std::size_t maxLocalStateProfiles = 200;
// Longer names and folder names than this are no browser's.
constexpr std::size_t maxProfileText = 4096;

LocalStateProfiles readLocalState(std::string_view json);
