// The browsers of the registry and of the usual install places, and the
// profiles of each. A Chromium-family browser keeps its user data folder
// beside its program when installed for one user ("...\Chrome\Application"
// and "...\Chrome\User Data"), else under LOCALAPPDATA by the same
// vendor and product folders; Opera and the Firefox family keep theirs
// under APPDATA.
#include "check/browser_find.h"

#include "check/command_program.h"
#include "check/local_state.h"
#include "check/profiles_ini.h"
#include "common/text.h"

namespace {

const char* const clientsKey = "Software\\Clients\\StartMenuInternet";

struct RegistrySource {
    RegistryRoot root;
    RegistryView view;
    const char* label;
};

const RegistrySource registrySources[] = {
    {RegistryRoot::currentUser, RegistryView::own, "HKCU\\"},
    {RegistryRoot::localMachine, RegistryView::sixtyFour, "HKLM\\"},
    {RegistryRoot::localMachine, RegistryView::thirtyTwo, "HKLM (32-bit)\\"},
};

bool isTavrin(SystemView& system, const std::string& key, const std::string& program) {
    return text::equalsNoCase(key, "Tavrin") || text::equalsNoCase(lastName(system, program), "Tavrin.exe");
}

bool alreadyListed(SystemView& system, const std::vector<FoundBrowser>& found, const std::string& program) {
    for (const FoundBrowser& b : found)
        if (text::equalsNoCase(b.program, program) ||
            (b.programExists && system.isFile(program) && system.sameFile(b.program, program)))
            return true;
    return false;
}

// The registry's own name of the browser: the key's default value, else
// its key name (an indirect "@..." resource string is no name to show).
std::string listedName(SystemView& system, const RegistrySource& source, const std::string& key,
                       const std::string& keyName) {
    std::string name;
    if (system.stringValue(source.root, source.view, key, "", name) && !name.empty() && name[0] != '@')
        return name;
    return keyName;
}

std::string placeFolder(SystemView& system, const UserPlace& place, const std::string& programFolderName) {
    std::string base;
    if (!place.userFolder || !system.userFolder(place.userFolder, base)) return std::string();
    std::string relative = place.relative;
    const std::size_t mark = relative.find("{folder}");
    if (mark != std::string::npos) relative.replace(mark, 8, programFolderName);
    return joinPath(system, base, relative);
}

// Folders that may hold the user data of a Chromium-family program.
std::vector<std::string> chromiumDataFolders(SystemView& system, const FoundBrowser& b) {
    std::vector<std::string> out;
    const std::string programFolder = parentFolder(system, b.program);
    const std::string above = parentFolder(system, programFolder);
    if (!programFolder.empty()) out.push_back(joinPath(system, programFolder, "User Data"));
    if (!above.empty()) out.push_back(joinPath(system, above, "User Data"));
    std::string local;
    if (text::equalsNoCase(lastName(system, programFolder), "Application") && !above.empty() &&
        system.userFolder("LOCALAPPDATA", local)) {
        const std::string product = lastName(system, above);
        const std::string vendor = lastName(system, parentFolder(system, above));
        if (!vendor.empty()) out.push_back(joinPath(system, local, vendor + "\\" + product + "\\User Data"));
        out.push_back(joinPath(system, local, product + "\\User Data"));
    }
    if (b.family)
        for (const UserPlace& place : b.family->stores) {
            const std::string folder = placeFolder(system, place, lastName(system, programFolder));
            if (!folder.empty()) out.push_back(folder);
        }
    return out;
}

StoreState readStore(SystemView& system, const std::string& path, std::string& bytes) {
    switch (system.readFile(path, maxStoreBytes, bytes)) {
        case FileRead::ok: return StoreState::ok;
        case FileRead::missing: return StoreState::notFound;
        case FileRead::tooLarge: return StoreState::tooLarge;
        default: return StoreState::unreadable;
    }
}

void readChromiumProfiles(SystemView& system, FoundBrowser& b, const std::vector<std::string>& folders) {
    b.storeState = StoreState::notFound;
    for (const std::string& folder : folders) {
        const std::string file = joinPath(system, folder, "Local State");
        if (!system.isFile(file)) continue;
        b.store = file;
        std::string bytes;
        b.storeState = readStore(system, file, bytes);
        if (b.storeState != StoreState::ok) return;
        const LocalStateProfiles read = readLocalState(bytes);
        if (!read.complete) b.storeState = StoreState::partial;
        b.moreProfiles = read.more;
        for (const ChromiumProfile& p : read.profiles) {
            BrowserProfileEntry entry{p.name, p.folder, p.folder == "Default"};
            // The browser forgets a profile it deletes; a folder that is
            // gone is a profile no longer there.
            const bool present = p.folder.find_first_of("\\/") == std::string::npos && p.folder != "." &&
                                 p.folder != ".." &&
                                 system.isDirectory(joinPath(system, folder, p.folder));
            (present ? b.profiles : b.missingProfiles).push_back(entry);
        }
        return;
    }
    // None there: name the place the family keeps it (the first one tried
    // beside the program for a browser of no known name).
    std::string shown = folders.empty() ? std::string() : folders.front();
    if (b.family && b.family->stores[0].userFolder) {
        const std::string place = placeFolder(system, b.family->stores[0], lastName(system, parentFolder(system, b.program)));
        if (!place.empty()) shown = place;
    }
    if (!shown.empty()) b.store = joinPath(system, shown, "Local State");
}

void readFirefoxProfiles(SystemView& system, FoundBrowser& b) {
    b.storeState = StoreState::notFound;
    const std::string folder =
        placeFolder(system, b.family->stores[0], lastName(system, parentFolder(system, b.program)));
    if (folder.empty()) return;
    b.store = joinPath(system, folder, "profiles.ini");
    std::string bytes;
    b.storeState = readStore(system, b.store, bytes);
    if (b.storeState != StoreState::ok) return;
    const ProfilesIni read = readProfilesIni(bytes);
    b.moreProfiles = read.more;
    for (const FirefoxProfile& p : read.profiles) {
        std::string path = p.path;
        for (char& c : path)
            if (c == '/') c = '\\';
        path = p.relative ? joinPath(system, folder, path) : joinPath(system, "", path);
        while (!path.empty() && path.back() == system.separator()) path.pop_back();
        BrowserProfileEntry entry{p.name, path, p.isDefault};
        (system.isDirectory(path) ? b.profiles : b.missingProfiles).push_back(entry);
    }
}

void readProfiles(SystemView& system, FoundBrowser& b) {
    if (!b.programExists) return;
    const std::string programFolderName = lastName(system, parentFolder(system, b.program));
    b.family = familyOfProgram(lastName(system, b.program), programFolderName);
    if (!b.family) {
        // A browser of no known name with a Local State of its own.
        for (const std::string& folder : chromiumDataFolders(system, b))
            if (system.isFile(joinPath(system, folder, "Local State"))) b.family = &otherChromiumFamily();
        if (!b.family) return;
    }
    if (b.family->store == ProfileStore::chromium) readChromiumProfiles(system, b, chromiumDataFolders(system, b));
    else if (b.family->store == ProfileStore::firefox) readFirefoxProfiles(system, b);
}

}  // namespace

std::vector<FoundBrowser> findBrowsers(SystemView& system) {
    std::vector<FoundBrowser> found;
    if (system.hasRegistry()) {
        for (const RegistrySource& source : registrySources) {
            std::vector<std::string> names;
            if (!system.subkeys(source.root, source.view, clientsKey, names)) continue;
            for (const std::string& keyName : names) {
                const std::string key = std::string(clientsKey) + "\\" + keyName;
                std::string command;
                if (!system.stringValue(source.root, source.view, key + "\\shell\\open\\command", "", command))
                    continue;
                const std::string program = commandProgram(system, command);
                if (program.empty() || isTavrin(system, keyName, program) || alreadyListed(system, found, program))
                    continue;
                if (found.size() >= maxBrowsers) break;
                FoundBrowser b;
                b.name = listedName(system, source, key, keyName);
                b.program = program;
                b.source = source.label + key;
                b.programExists = system.isFile(program);
                found.push_back(std::move(b));
            }
        }
    }
    for (int i = 0; i < installPlaceCount && found.size() < maxBrowsers; ++i) {
        const std::string program = placeFolder(system, installPlaces[i].program, "");
        if (program.empty() || !system.isFile(program) || alreadyListed(system, found, program)) continue;
        FoundBrowser b;
        b.name = installPlaces[i].name;
        b.program = program;
        b.source = std::string("%") + installPlaces[i].program.userFolder + "%\\" + installPlaces[i].program.relative;
        b.registered = false;
        b.programExists = true;
        found.push_back(std::move(b));
    }
    for (FoundBrowser& b : found) readProfiles(system, b);
    return found;
}
