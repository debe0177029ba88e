// Program starts for the association machinery. Starts are asynchronous and
// report nothing: a missing program falls back to opening the parameter
// text as a document.
#include "launch/launch.h"

#include "common/app_state.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "launch/loop_guard.h"
#include "platform/platform.h"
#include "template/url_template.h"

namespace {
constexpr std::size_t openWithCapacity = 1300;
}

void launchProgram(const std::string& program, const std::string& parameters) {
    // The flag belongs to the expansion that produced these parameters;
    // clear it so that a later start without expansion never inherits it.
    const int allTargets = multiUrlFlag;
    multiUrlFlag = 0;
    if (text::containsNoCase(program, "@system") || !platform::os().fileExists(program)) {
        openDocument(parameters);
        return;
    }
    PathParts parts = splitPath(program);
    std::string directory = parts.drive + parts.directory;
    if (allTargets == 1) {
        launchWithAllTargets(parameters, program, directory);
        urlList.urlCount = 0;
        return;
    }
    platform::os().shellExecute(nullptr, program, parameters, directory);
}

void launchWithAllTargets(std::string_view parameters, const std::string& program,
                          const std::string& directory) {
    // The template's own "%M", where the expansion noted it: a URL put into
    // the text may hold "%M" too.
    std::size_t at = multiUrlPosition;
    if (at + 2 > parameters.size() || !text::startsWithNoCase(parameters.substr(at), "%M"))
        at = text::findNoCase(parameters, "%M");
    if (at == text::npos || urlList.urlCount <= 0) return;
    std::string line(parameters.substr(0, at));
    for (int i = 0; i < urlList.urlCount && i < maxUrlEntries; ++i) {
        if (i > 0) line += ' ';
        line += quoteSpaces(urlList.entries[i].url);
    }
    line += parameters.substr(at + 2);
    platform::os().shellExecute(nullptr, program, line, directory);
    urlList.urlCount = 0;
}

void openDocument(std::string_view target) {
    const std::string file = unquoteSpaces(target);
    // The shell would start this program again with the same target.
    if (systemOpensWithItself(file)) {
        reportNoBrowserFor(file);
        return;
    }
    if (platform::os().shellExecute(nullptr, file, "", "") > 32) return;
    std::string openWith = text::cut("shell32.dll,OpenAs_RunDLL " + file, openWithCapacity);
    platform::os().shellExecute(nullptr, "rundll32.exe", openWith, "");
    urlList.urlCount = 0;
}
