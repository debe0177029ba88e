// The settings file read as Tavrin reads it at start (its separator), and
// its headers found as Tavrin finds them.
#include "check/browser_paste.h"

#include "check/dry_settings.h"
#include "settings/settings.h"
#include "settings/settings_text.h"

namespace {

const Text fallbackComment{"; ほかのブロックに当たらない URL も [all] のブラウザーに届くように",
                           "; so that URLs with no block of their own reach the browsers of [all] too"};

}  // namespace

bool readSettingsForPaste(const CheckOptions& options, const CheckEnvironment& environment,
                          SettingsForPaste& out, std::string& error) {
    SettingsFile file;
    if (!readSettingsFile(options, environment, file, error)) {
        if (options.iniGiven) return false;
        error.clear();
        return true;
    }
    const DrySettings loaded(file, environment, 1);
    out.separator = settings.separator;
    const std::string_view text = std::string_view(file.text).substr(0, maxSettingsFileBytes);
    out.hasAll = findSettingsKey(text, "[all]") != std::string_view::npos;
    out.hasFallback = findSettingsKey(text, "[.*]") != std::string_view::npos;
    return true;
}

std::vector<std::string> linesToPaste(const std::vector<std::string>& body, const SettingsForPaste& settings,
                                      Language language) {
    if (body.empty() || settings.hasAll) return body;
    std::vector<std::string> out;
    if (!settings.hasFallback) {
        out.push_back("[.*]");
        out.push_back(say(language, fallbackComment));
        out.push_back("%end");
    }
    out.push_back("[all]");
    out.insert(out.end(), body.begin(), body.end());
    out.push_back("%end");
    return out;
}
