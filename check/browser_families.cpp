// The browser families and their switches: "--profile-directory=" and
// "-P" / "--profile" come with the profile store, the private window's
// switch with the family (never guessed for a browser not named here).
#include "check/browser_families.h"

#include "common/text.h"

namespace {

const Text incognito{"シークレット ウィンドウ", "Incognito window"};
const Text inPrivate{"InPrivate ウィンドウ", "InPrivate window"};
const Text privateWindow{"プライベート ウィンドウ", "Private window"};
const Text none{"", ""};

const BrowserFamily families[] = {
    {"Google Chrome", {"chrome.exe", nullptr}, nullptr, ProfileStore::chromium,
     {{"LOCALAPPDATA", "Google\\Chrome\\User Data"}, {"LOCALAPPDATA", "Chromium\\User Data"}},
     "--incognito", incognito},
    {"Microsoft Edge", {"msedge.exe", nullptr}, nullptr, ProfileStore::chromium,
     {{"LOCALAPPDATA", "Microsoft\\Edge\\User Data"}, {nullptr, nullptr}}, "-inprivate", inPrivate},
    {"Brave", {"brave.exe", nullptr}, nullptr, ProfileStore::chromium,
     {{"LOCALAPPDATA", "BraveSoftware\\Brave-Browser\\User Data"}, {nullptr, nullptr}}, "--incognito",
     privateWindow},
    {"Vivaldi", {"vivaldi.exe", nullptr}, nullptr, ProfileStore::chromium,
     {{"LOCALAPPDATA", "Vivaldi\\User Data"}, {nullptr, nullptr}}, "--incognito", privateWindow},
    {"Opera", {"opera.exe", "launcher.exe"}, "Opera", ProfileStore::chromium,
     {{"APPDATA", "Opera Software\\{folder} Stable"}, {"APPDATA", "Opera Software\\Opera Stable"}}, nullptr,
     none},
    {"Mozilla Firefox", {"firefox.exe", nullptr}, nullptr, ProfileStore::firefox,
     {{"APPDATA", "Mozilla\\Firefox"}, {nullptr, nullptr}}, "--private-window", privateWindow},
    {"Waterfox", {"waterfox.exe", nullptr}, nullptr, ProfileStore::firefox,
     {{"APPDATA", "Waterfox"}, {nullptr, nullptr}}, "--private-window", privateWindow},
    {"LibreWolf", {"librewolf.exe", nullptr}, nullptr, ProfileStore::firefox,
     {{"APPDATA", "librewolf"}, {nullptr, nullptr}}, "--private-window", privateWindow},
};

const BrowserFamily otherChromium{
    "Chromium", {nullptr, nullptr}, nullptr, ProfileStore::chromium, {{nullptr, nullptr}, {nullptr, nullptr}},
    nullptr, none};

}  // namespace

const InstallPlace installPlaces[] = {
    {{"LOCALAPPDATA", "Google\\Chrome\\Application\\chrome.exe"}, "Google Chrome"},
    {{"LOCALAPPDATA", "Chromium\\Application\\chrome.exe"}, "Chromium"},
    {{"LOCALAPPDATA", "BraveSoftware\\Brave-Browser\\Application\\brave.exe"}, "Brave"},
    {{"LOCALAPPDATA", "Vivaldi\\Application\\vivaldi.exe"}, "Vivaldi"},
    {{"LOCALAPPDATA", "Programs\\Opera\\launcher.exe"}, "Opera"},
    {{"LOCALAPPDATA", "Programs\\Opera GX\\launcher.exe"}, "Opera GX"},
    {{"LOCALAPPDATA", "Mozilla Firefox\\firefox.exe"}, "Mozilla Firefox"},
};
const int installPlaceCount = static_cast<int>(sizeof installPlaces / sizeof installPlaces[0]);

const BrowserFamily* familyOfProgram(const std::string& fileName, const std::string& folderName) {
    for (const BrowserFamily& family : families) {
        if (family.programFolder && !text::startsWithNoCase(folderName, family.programFolder)) continue;
        for (const char* program : family.programs)
            if (program && text::equalsNoCase(fileName, program)) return &family;
    }
    return nullptr;
}

const BrowserFamily& otherChromiumFamily() { return otherChromium; }
