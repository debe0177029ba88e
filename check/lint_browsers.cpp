// A program line whose program is not there, where the browser of that
// file name is installed elsewhere: the settings were written for another
// machine, or the browser moved (a per-user install, another Program
// Files).
#include "check/browser_find.h"
#include "check/cp932_text.h"
#include "check/lint_context.h"
#include "common/split_path.h"
#include "common/text.h"

const std::vector<LintContext::BrowserProgram>& LintContext::browserPrograms() {
    if (browsersRead_ || !system) return browserPrograms_;
    browsersRead_ = true;
    for (const FoundBrowser& b : findBrowsers(*system)) {
        std::string path;
        if (!b.programExists || !system->tavrinPath(b.program, path)) continue;
        const PathParts parts = splitPath(path);
        browserPrograms_.push_back({parts.name + parts.extension, path, cp932Text(b.name)});
    }
    return browserPrograms_;
}

void lintProgramElsewhere(LintContext& c, int line, const std::string& program) {
    const PathParts parts = splitPath(program);
    std::string name = parts.name + parts.extension;
    if (name.empty()) return;
    if (parts.extension.empty()) name += ".exe";
    for (const LintContext::BrowserProgram& b : c.browserPrograms())
        if (text::equalsNoCase(b.fileName, name)) {
            c.add(line, LintRule::programElsewhere, {name, b.path, b.browser});
            return;
        }
}
