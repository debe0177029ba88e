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
const Text unreadable{"設定ファイルを読めません ({2}): {1}", "cannot read the settings file ({2}): {1}"};
const Text missingReason{"ありません", "it does not exist"};
const Text folderReason{"ファイルではなくフォルダーです", "a folder, not a file"};
const Text tooLargeReason{"{1} バイトを超えています ({2} バイト)", "larger than {1} bytes: {2} bytes"};
const Text heldReason{"ほかのプログラムが開いているか、読む権限がありません",
                      "held by another program, or not allowed to be read"};

}  // namespace

platform::Platform& toolPlatform(const CheckEnvironment& environment) {
    return environment.files ? *environment.files : platform::nativePlatform();
}

std::string unreadableReason(const CheckEnvironment& environment, Language language,
                             const std::string& path, std::uint64_t limit) {
    platform::Platform& os = toolPlatform(environment);
    if (os.isDirectory(path)) return say(language, folderReason);
    if (!os.fileExists(path)) return say(language, missingReason);
    const platform::FileStamp stamp = os.fileStamp(path);
    if (stamp.exists && stamp.size > limit)
        return say(language, tooLargeReason, {std::to_string(limit), std::to_string(stamp.size)});
    return say(language, heldReason);
}

bool readSettingsFile(const CheckOptions& options, const CheckEnvironment& environment,
                      SettingsFile& file, std::string& error) {
    platform::Platform& os = toolPlatform(environment);
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
    if (!os.fileExists(file.path)) error = say(options.language, notFound, {file.path});
    else error = say(options.language, unreadable,
                     {file.path, unreadableReason(environment, options.language, file.path, maxSettingsFileBytes)});
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
