// The "/#" command-line switches. A switch is a token of its own: its text
// counts only where it begins a token (at the start of the text or after a
// blank, outside double quotes), so that a URL such as http://h/app/#blog
// keeps its fragment to itself. The first such occurrence counts, matched
// without regard to case; switches are left in place, since recognition
// later reads the whole command line, switches included.
#include "app/switches.h"

#include <string>

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "platform/platform.h"
#include "settings/option_parsers.h"
#include "settings/settings.h"

namespace {

// Blanks between tokens. The walk is byte-wise, as recognition's is: none
// of these, nor the double quote nor '/', occurs as the trail byte of a
// double-byte character.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A value that starts after any spaces and runs to the next space, cut to
// `maxChars` characters ("/#b=", "/#d=").
std::string valueSkippingSpaces(std::string_view rest, std::size_t maxChars) {
    rest = text::skipLeadingSpaces(rest);
    return text::cut(rest.substr(0, rest.find(' ')), maxChars + 1);
}

// A value that runs to the first space, which may come at once ("/#s=",
// "/#m="). Not cut: these switches reject long values instead.
std::string_view valueToSpace(std::string_view rest) {
    return rest.substr(0, rest.find(' '));
}

// Text after the first occurrence of switch `name`; false when there is none.
bool textAfter(std::string_view line, std::string_view name, std::string_view& rest) {
    std::size_t at = findSwitch(line, name);
    if (at == text::npos) return false;
    rest = line.substr(at + name.size());
    return true;
}

// A value of this many characters or more is refused by "/#s=" and "/#m=".
constexpr std::size_t tooLongValue = 259;

void applyBaseUrl(std::string_view line) {
    linkSource.linkMode = 0;
    linkSource.baseUrl.clear();
    std::string_view rest;
    if (textAfter(line, "/#b=", rest)) {
        std::string value = valueSkippingSpaces(rest, cap::path - 1);
        if (!value.empty()) {
            linkSource.baseUrl = value;
            linkSource.linkMode = 1;
        }
    } else if (hasSwitch(line, "/#b")) {
        linkSource.linkMode = 2;
    }
}

void applySettingsPath(std::string_view line) {
    const std::string& folder = programPaths.programFolder;
    text::assignCut(programPaths.settingsPath, folder + programPaths.settingsFileName, cap::path);
    std::string_view rest;
    if (!textAfter(line, "/#s=", rest)) return;
    std::string_view value = valueToSpace(rest);
    if (value.size() >= tooLongValue) return;
    std::string candidate = folder + std::string(value);
    // A joined path that no longer fits would name some other file once cut;
    // it is treated like a value that is too long.
    if (candidate.size() >= cap::path) return;
    if (platform::os().fileExists(candidate)) programPaths.settingsPath = candidate;
}

void applyMenuPosition(std::string_view line) {
    std::string_view rest;
    if (!textAfter(line, "/#m=", rest)) return;
    std::string_view value = valueToSpace(rest);
    if (value.empty() || value.size() >= tooLongValue) return;
    parseMenuPosition(std::string(value) + "\r\n");
}

void applyBrowserQuery(std::string_view line) {
    std::string_view rest;
    if (textAfter(line, "/#d=", rest)) {
        std::string value = valueSkippingSpaces(rest, cap::serviceName - 1);
        if (!value.empty()) {
            startOptions.browserServiceName = value;
            startOptions.browserQueryMode = 2;
        }
    } else if (hasSwitch(line, "/#d")) {
        startOptions.browserQueryMode = 1;
    }
}

void applySchemeList(std::string_view line) {
    std::string_view rest;
    if (!textAfter(line, "/#u=", rest)) return;
    // Room is left for the line end the scheme parser expects.
    runState.transferBuffer = text::cut(rest, cap::transfer - 2);
    runState.transferBuffer += "\r\n";
    parseSchemeList(runState.transferBuffer);
    settings.schemesFromCommandLine = 1;
}

}  // namespace

std::size_t findSwitch(std::string_view line, std::string_view name) {
    bool inQuotes = false;
    bool tokenStart = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (tokenStart && !inQuotes && text::startsWithNoCase(line.substr(i), name)) return i;
        if (c == '"') {
            inQuotes = !inQuotes;
            tokenStart = false;
        } else if (c == '\n') {
            inQuotes = false;  // a quote never runs on into the next line
            tokenStart = true;
        } else {
            tokenStart = !inQuotes && isBlank(c);
        }
    }
    return text::npos;
}

bool hasSwitch(std::string_view line, std::string_view name) {
    return findSwitch(line, name) != text::npos;
}

void applySwitches(std::string_view commandLine, int mode) {
    std::string_view line = commandLine.substr(0, commandLine.find('\0'));
    applyBaseUrl(line);
    if (mode == switchesBaseOnly) return;
    applySettingsPath(line);
    applyMenuPosition(line);
    applyBrowserQuery(line);
    if (hasSwitch(line, "/#c")) startOptions.clipboardStart = 1;
    applySchemeList(line);
}

void applyKeyInversions(std::string_view commandLine) {
    std::string_view line = commandLine.substr(0, commandLine.find('\0'));
    if (hasSwitch(line, "/#k=sft")) runState.shiftFlag = runState.shiftFlag ? 0 : 1;
    if (hasSwitch(line, "/#k=ctl")) runState.ctrlFlag = runState.ctrlFlag ? 0 : 1;
}
