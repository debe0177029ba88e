// Reads the settings file once at start: the "[system]" options and, in the
// copy that stays running, the temporary folder and the "[list]" programs.
#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/empty_folder.h"
#include "settings/filter_groups.h"
#include "settings/list_programs.h"
#include "settings/settings.h"
#include "settings/settings_text.h"
#include "settings/system_block.h"

namespace {

// The settings path in force, or a fallback beside the program; true when
// a missing file is to be created empty.
bool chooseSettingsFile() {
    platform::Platform& os = platform::os();
    if (os.fileExists(programPaths.settingsPath)) return false;
    const std::string own = programPaths.programFolder + programPaths.settingsFileName;
    const std::string shared = programPaths.programFolder + "Tavrin.ini";
    const std::string& chosen = !os.fileExists(own) && os.fileExists(shared) ? shared : own;
    text::assignCut(programPaths.settingsPath, chosen, cap::path);
    return true;
}

void setDefaults() {
    settings.parametersOn = 0;
    filterGroups.selectedFilterGroup = 0;
    userParameters.count = 0;
    settings.showIcons = 0;
    settings.alternatePath = programPaths.settingsPath;
    settings.editorProgram.clear();
    settings.separator = " | ";
    settings.titleSeparator = "||";
    settings.pageExtensions = {};
    settings.pageExtensions[0] = ".html";
    settings.pageExtensions[1] = ".htm";
    settings.pageExtensionCount = 2;
    settings.menuTitle = "%L";
    settings.titleLength = 0;
    resetFilterGroups();
    text::assignCut(settings.tempFolder, programPaths.programFolder + "temp", cap::path);
    settings.pollForFile = 0;
    settings.timeoutSeconds = 30;
    settings.subCommandMark = 1;
    settings.keepTemp = 1;
    settings.searchPathSet = 0;
    settings.searchPathList.clear();
    settings.activateMenuWindow = 0;
    settings.cleaning = LinkCleaning{};
    // The menu position, browser services, pauses and scheme flags may
    // already hold command-line choices and are left alone.
}

void prepareTempFolder(platform::WindowHandle window) {
    platform::Platform& os = platform::os();
    if (!os.isDirectory(settings.tempFolder)) os.createDirectory(settings.tempFolder);
    if (settings.keepTemp == 0) emptyFolder(window, settings.tempFolder);
}

}  // namespace

int loadSettings(platform::WindowHandle window, int systemOnly) {
    const bool createIfMissing = chooseSettingsFile();
    std::string content;
    platform::Platform& os = platform::os();
    if (!os.readFile(programPaths.settingsPath, content, maxSettingsFileBytes, createIfMissing)) {
        os.setForeground(window);
        os.messageBox(window, "設定ファイル異常", "エラー", platform::mbOk);
        return 0;
    }
    const std::string_view text = content;

    setDefaults();
    std::size_t systemStart = lineAfterHeader(text, "[system]");
    if (systemStart != text::npos) readSystemBlock(text, systemStart);
    if (systemOnly == 1) return 1;

    if (settings.menuPosition == menuPositionUnset) settings.menuPosition = menuAtActiveWindow;
    prepareTempFolder(window);

    listPrograms.listProgramCount = 0;
    listPrograms.selectedListProgram = 20;
    std::size_t listStart = lineAfterHeader(text, "[list]");
    if (listStart != text::npos) readListPrograms(text, listStart);
    if (listPrograms.listProgramCount > 0) listPrograms.selectedListProgram = 0;
    return 1;
}
