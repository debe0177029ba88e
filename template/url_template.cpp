// URL-part placeholders, and those of the program the targets came from
// ("%O" its file name, "%V" its full path), expanded in one pass with the folder and date
// placeholders (when "@param" is on): a URL part put into the text is
// never taken for a placeholder, nor for "%S" or "%M". The result keeps
// within its 1,039-character buffer; a value that would push it further
// is cut.
#include "template/url_template.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "common/url_list.h"
#include "settings/settings.h"
#include "template/browser_port.h"
#include "template/folder_date.h"
#include "template/one_pass.h"
#include "template/url_parts.h"

int multiUrlFlag = 0;
std::size_t multiUrlPosition = 0;

namespace {

constexpr std::size_t templateCapacity = 1040;
constexpr std::size_t none = text::npos;

std::string directoryOf(std::string_view path) {
    PathParts p = splitPath(path);
    return p.drive + p.directory;
}

std::string fileNameOf(std::string_view path) {
    PathParts p = splitPath(path);
    if (p.extension.empty()) return "index.html";
    return p.name + p.extension;
}

std::string targetWithoutFragment(const std::string& target) {
    std::size_t cutAt = text::findByte(target, '#');
    if (cutAt == text::npos) cutAt = text::findByte(target, '?');
    std::string base = cutAt == text::npos ? target : target.substr(0, cutAt);
    return text::cut(quoteSpaces(base), cap::path);
}

// Where the template's own "%S=", "%S" and "%M" went in the result.
struct Marks {
    std::size_t namedHandOver = none;
    std::size_t handOver = none;
    std::size_t allTargets = none;
};

}  // namespace

std::string expandUrlTemplate(std::string_view templateText, const std::string& fallbackProgram,
                              int urlPartsOnly, const SavedFile* savedFile) {
    multiUrlFlag = 0;
    multiUrlPosition = 0;
    const std::string& target = runState.currentTarget;
    // A target that does not split yields empty parts rather than those of
    // whatever URL was split before it.
    const UrlParts parts = crackUrl(target) ? urlParts : UrlParts{};

    // Placeholders with their values, worked out when met.
    enum class Part { scheme, host, user, password, path, folder, name, whole, base, sourceName, sourcePath };
    struct Placeholder {
        std::string_view name;
        Part part;
    };
    static const Placeholder table[] = {
        {"%F", Part::scheme}, {"%G", Part::host},   {"%H", Part::user},
        {"%I", Part::password}, {"%J", Part::path}, {"%-J", Part::folder},
        {"%K", Part::name},   {"%L", Part::whole},  {"%-L", Part::base},
        {"%O", Part::sourceName}, {"%V", Part::sourcePath},
    };
    auto valueOf = [&](Part part) -> std::string {
        switch (part) {
        case Part::scheme: return parts.scheme;
        case Part::host: return parts.hostName;
        case Part::user: return parts.userName;
        case Part::password: return parts.password;
        case Part::path: return parts.urlPath;
        case Part::folder: return directoryOf(parts.urlPath);
        case Part::name: return savedFile ? savedFile->name : fileNameOf(parts.urlPath);
        case Part::whole: return quoteSpaces(target);
        case Part::base: return targetWithoutFragment(target);
        case Part::sourceName: return targetSource().name;
        case Part::sourcePath: return targetSource().path;
        }
        return std::string();
    };

    FolderDateFinder folders;
    const bool withFolders = settings.parametersOn == 1;
    Marks marks;
    auto find = [&](std::string_view rest, std::size_t at, onepass::Found& found) {
        if (rest.empty() || (rest[0] != '%' && !withFolders)) return false;
        if (withFolders && folders.find(rest, found)) return true;
        for (const Placeholder& p : table) {
            if (!text::startsWithNoCase(rest, p.name)) continue;
            found = {p.name.size(), valueOf(p.part)};
            return true;
        }
        // "%-K" is the full saved path: only a download's loader has one.
        if (savedFile && text::startsWithNoCase(rest, "%-K")) {
            found = {3, savedFile->path};
            return true;
        }
        if (urlPartsOnly == 1) return false;
        // "%S=", "%S" and "%M" stay in the text; where they stand is noted.
        if (text::startsWithNoCase(rest, "%S=") && marks.namedHandOver == none)
            marks.namedHandOver = at;
        if (text::startsWithNoCase(rest, "%S") && marks.handOver == none) marks.handOver = at;
        if (text::startsWithNoCase(rest, "%M") && marks.allTargets == none) marks.allTargets = at;
        return false;
    };
    std::string text = onepass::expand(templateText, find, templateCapacity);
    if (urlPartsOnly == 1) return text;

    if (marks.namedHandOver != none && marks.namedHandOver + 3 <= text.size()) {
        std::string service =
            text::cut(std::string_view(text).substr(marks.namedHandOver + 3), cap::path);
        browserPort().sendUrlToBrowser(service, fallbackProgram);
        return cancelMarker;
    }
    if (marks.handOver != none && marks.handOver + 2 <= text.size()) {
        browserPort().sendUrlToBrowser("", fallbackProgram);
        return cancelMarker;
    }
    if (marks.allTargets != none && marks.allTargets + 2 <= text.size()) {
        multiUrlFlag = 1;
        multiUrlPosition = marks.allTargets;
    }
    return text;
}
