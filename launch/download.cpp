// Download-then-open: choose the folder, save the target there, and start
// the program on the saved file, which from then on is the target.
#include "launch/download.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/launch.h"
#include "launch/loader_download.h"
#include "launch/page_download.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "template/path_template.h"
#include "template/url_template.h"

namespace {

// The expanded folder template when it names an existing folder, else the
// temporary folder; with a trailing backslash either way.
std::string downloadFolder(const std::string& folderTemplate) {
    std::string folder = expandPathTemplate(folderTemplate, 1);
    if (!platform::os().isDirectory(folder)) folder = settings.tempFolder;
    if (!endsWithBackslash(folder)) folder += '\\';
    return text::cut(folder, cap::path);
}

// The web page the list window shows, which the target was a link of; empty
// when the list holds no such page.
std::string listPage() {
    if (runState.listWindowActive != 1) return std::string();
    const std::string& source = linkSource.listSource;
    if (!text::startsWithNoCase(source, "http://") && !text::startsWithNoCase(source, "https://"))
        return std::string();
    return source;
}

}  // namespace

void downloadAndLaunch(const std::string& program, const std::string& parameterTemplate,
                       const std::string& folderTemplate, int viaLoader) {
    const std::string folder = downloadFolder(folderTemplate);
    const std::string url = runState.currentTarget;
    // A loader saves (and marks, or not) as it sees fit.
    const std::string saved = viaLoader == 1 ? downloadWithLoader(url, folder)
                                             : downloadPage(runState.mainWindow, url, folder, listPage());
    if (saved == cancelMarker) return;
    text::assignCut(runState.currentTarget, saved, cap::url);
    // "@system" and a program that has gone meanwhile open the saved file
    // by the system, as every other start does. "%M" means nothing here.
    multiUrlFlag = 0;
    launchProgram(program, expandPathTemplate(parameterTemplate, 0));
    urlList.urlCount = 0;
}
