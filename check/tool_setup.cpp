// Preparing Tavrin's records for one run of the check tool.
#include "check/tool_setup.h"

#include <algorithm>

#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/split_path.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "menu/menu_state.h"
#include "platform/platform.h"
#include "settings/association_table.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "template/url_template.h"

namespace {

const Text notFound{"設定ファイルがありません: {1}", "settings file not found: {1}"};
const Text unreadable{"設定ファイルを読めません (フォルダーか、ほかのプログラムが開いています): {1}",
                      "cannot read the settings file (a folder, or held by another program): {1}"};

}  // namespace

bool readSettingsFile(const CheckOptions& options, const CheckEnvironment& environment,
                      SettingsFile& file, std::string& error) {
    platform::Platform& os = platform::nativePlatform();
    if (options.iniGiven) {
        std::string full;
        if (!os.fullPathName(options.ini, full)) full = options.ini;
        const PathParts parts = splitPath(full);
        file.folder = parts.drive + parts.directory;
        file.name = parts.name + parts.extension;
        file.path = full;
    } else {
        file.folder = environment.ownFolder;
        file.name = "Tavrin.ini";
        file.path = file.folder + file.name;
    }
    // One byte more than Tavrin reads tells a file that is too large.
    if (os.readFile(file.path, file.text, maxSettingsFileBytes + 1, false)) return true;
    error = say(options.language, os.fileExists(file.path) ? unreadable : notFound, {file.path});
    return false;
}

void resetTavrinState(const SettingsFile& file) {
    programPaths = ProgramPaths{};
    programPaths.programFolder = file.folder;
    programPaths.programPath = file.folder + "Tavrin.exe";
    programPaths.programName = "Tavrin";
    programPaths.settingsFileName = file.name;
    programPaths.settingsPath = file.path;
    programPaths.helpFilePath = file.folder + "Tavrin.txt";
    runState = RunState{};
    startOptions = StartOptions{};
    linkSource = LinkSource{};
    settings = Settings{};
    settings.schemeEnabled = {1, 1, 1, 1};
    userParameters = UserParameters{};
    filterGroups = FilterGroups{};
    listPrograms = ListPrograms{};
    urlList.urlCount = 0;
    dispatchState = DispatchState{};
    resetAssociationTable();
    menuState = MenuState{};
    multiUrlFlag = 0;
    browserUrl.clear();
    clearOverlongUrls();
}

int lineOfOffset(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(offset), '\n'));
}
