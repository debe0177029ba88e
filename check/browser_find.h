// Finding the user's web browsers and their profiles: the browsers Windows
// lists under Software\Clients\StartMenuInternet (HKCU first, then HKLM
// in its 64-bit and 32-bit views), then those installed for this user in
// the usual places but not listed; each with the profiles its Local State
// or profiles.ini names, where the family keeps them.
#pragma once
#include <string>
#include <vector>

#include "check/browser_families.h"
#include "check/system_view.h"

enum class StoreState {
    none,        // the family keeps no profiles the tool reads
    notFound,    // no Local State or profiles.ini where the family keeps it
    unreadable,  // there, but it cannot be read (held, a folder)
    tooLarge,
    partial,     // read up to a point where it is cut short or broken
    ok,
};

struct BrowserProfileEntry {
    std::string name;    // as the browser shows it, UTF-8
    std::string folder;  // Chromium: the folder's name; Firefox: the folder's full path
    bool isDefault = false;
};

struct FoundBrowser {
    std::string name;     // as Windows lists it (UTF-8)
    std::string program;  // the program's path, UTF-8
    std::string source;   // the registry key or the place it was found
    bool registered = true;  // found in the registry, not only in its place
    bool programExists = false;
    const BrowserFamily* family = nullptr;  // null: a browser of no known family
    std::string store;    // the Local State or profiles.ini read
    StoreState storeState = StoreState::none;
    std::vector<BrowserProfileEntry> profiles;
    std::vector<BrowserProfileEntry> missingProfiles;  // their folders are gone
    bool moreProfiles = false;  // more than the readers keep
};

constexpr std::size_t maxBrowsers = 100;
constexpr std::size_t maxStoreBytes = 64u << 20;

std::vector<FoundBrowser> findBrowsers(SystemView& system);
