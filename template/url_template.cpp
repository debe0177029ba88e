// URL-part placeholders. Every replacement keeps the text within its
// 1,039-character buffer; a value that would push it further is cut.
#include "template/url_template.h"

#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "settings/settings.h"
#include "template/folder_date.h"
#include "template/url_parts.h"

int multiUrlFlag = 0;

namespace {

constexpr std::size_t templateCapacity = 1040;

// Replaces every occurrence of `placeholder`, searching on behind each
// inserted value so that a value holding its own placeholder ends.
void replaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
    std::size_t pos = text::findNoCase(text, placeholder);
    while (pos != text::npos) {
        std::string next = text.substr(0, pos);
        next += value;
        std::size_t resume = next.size();
        next += text.substr(pos + placeholder.size());
        text = text::cut(next, templateCapacity);
        if (resume > text.size()) break;
        pos = text::findNoCase(text, placeholder, resume);
    }
}

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

}  // namespace

std::string expandUrlTemplate(std::string_view templateText, const std::string& fallbackProgram,
                              int urlPartsOnly) {
    multiUrlFlag = 0;
    std::string text = text::cut(settings.parametersOn ? expandFolderAndDate(templateText)
                                                       : std::string(templateText),
                                 templateCapacity);
    const std::string& target = runState.currentTarget;
    // A target that does not split yields empty parts rather than those of
    // whatever URL was split before it.
    const UrlParts parts = crackUrl(target) ? urlParts : UrlParts{};

    replaceAll(text, "%F", parts.scheme);
    replaceAll(text, "%G", parts.hostName);
    replaceAll(text, "%H", parts.userName);
    replaceAll(text, "%I", parts.password);
    replaceAll(text, "%J", parts.urlPath);
    replaceAll(text, "%-J", directoryOf(parts.urlPath));
    replaceAll(text, "%K", fileNameOf(parts.urlPath));
    replaceAll(text, "%L", quoteSpaces(target));
    replaceAll(text, "%-L", targetWithoutFragment(target));
    if (urlPartsOnly == 1) return text;

    std::size_t named = text::findNoCase(text, "%S=");
    if (named != text::npos) {
        std::string service = text::cut(std::string_view(text).substr(named + 3), cap::path);
        sendUrlToBrowser(service, fallbackProgram);
        multiUrlFlag = 0;
        return cancelMarker;
    }
    if (text::findNoCase(text, "%S") != text::npos) {
        sendUrlToBrowser("", fallbackProgram);
        multiUrlFlag = 0;
        return cancelMarker;
    }
    if (text::findNoCase(text, "%M") != text::npos) multiUrlFlag = 1;
    return text;
}
