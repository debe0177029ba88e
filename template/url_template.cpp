// URL-part placeholders. Every replacement keeps the text within its
// 1,039-character buffer; a value that would push it further is cut.
#include "template/url_template.h"

#include "common/app_state.h"
#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"
#include "template/browser_port.h"
#include "template/folder_date.h"
#include "template/url_parts.h"

int multiUrlFlag = 0;

namespace {

constexpr std::size_t templateCapacity = 1040;

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
                              int urlPartsOnly, const std::string* fileName) {
    multiUrlFlag = 0;
    std::string text = text::cut(expandWhenParametersOn(templateText), templateCapacity);
    const std::string& target = runState.currentTarget;
    // A target that does not split yields empty parts rather than those of
    // whatever URL was split before it.
    const UrlParts parts = crackUrl(target) ? urlParts : UrlParts{};

    text::replaceAllNoCase(text, "%F", parts.scheme, templateCapacity);
    text::replaceAllNoCase(text, "%G", parts.hostName, templateCapacity);
    text::replaceAllNoCase(text, "%H", parts.userName, templateCapacity);
    text::replaceAllNoCase(text, "%I", parts.password, templateCapacity);
    text::replaceAllNoCase(text, "%J", parts.urlPath, templateCapacity);
    text::replaceAllNoCase(text, "%-J", directoryOf(parts.urlPath), templateCapacity);
    text::replaceAllNoCase(text, "%K", fileName ? *fileName : fileNameOf(parts.urlPath), templateCapacity);
    text::replaceAllNoCase(text, "%L", quoteSpaces(target), templateCapacity);
    text::replaceAllNoCase(text, "%-L", targetWithoutFragment(target), templateCapacity);
    if (urlPartsOnly == 1) return text;

    std::size_t named = text::findNoCase(text, "%S=");
    if (named != text::npos) {
        std::string service = text::cut(std::string_view(text).substr(named + 3), cap::path);
        browserPort().sendUrlToBrowser(service, fallbackProgram);
        multiUrlFlag = 0;
        return cancelMarker;
    }
    if (text::findNoCase(text, "%S") != text::npos) {
        browserPort().sendUrlToBrowser("", fallbackProgram);
        multiUrlFlag = 0;
        return cancelMarker;
    }
    if (text::findNoCase(text, "%M") != text::npos) multiUrlFlag = 1;
    return text;
}
