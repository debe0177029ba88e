// Wide names into code page 932 names, through short names where the code
// page cannot spell a part; and the existence test of a wide path.
#include "platform/win32/wide_names.h"

#include "common/unopenable_names.h"
#include "platform/win32/code_page.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_platform.h"

namespace platform {
namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The short name of the last part of `path`, in code page 932; false when
// it has none the code page holds. A long name that is itself a valid short
// name has no second one.
bool shortPart(const std::u16string& path, std::string& out) {
    if (path.find_first_of(u"*?") != std::u16string::npos) return false;
    WIN32_FIND_DATAW found;
    win::ScopedFind search(FindFirstFileW(wideChars(path), &found));
    if (!search.valid() || found.cAlternateFileName[0] == L'\0') return false;
    return cp932FromWide(wideView(found.cAlternateFileName), out);
}

}  // namespace

bool windowsName(std::u16string_view path, std::string& out) {
    out.clear();
    if (cp932FromWide(path, out)) return true;
    std::u16string sofar;
    for (std::size_t i = 0; i <= path.size();) {
        std::size_t end = i;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        const std::u16string_view part = path.substr(i, end - i);
        sofar += part;
        if (!cp932FromWide(part, out) && !shortPart(sofar, out)) {
            out = cp932Shown(path);
            noteUnopenableName(out);
            return false;
        }
        if (end == path.size()) break;
        sofar += path[end];
        out += static_cast<char>(path[end]);
        i = end + 1;
    }
    return true;
}

bool windowsName(const wchar_t* path, std::string& out) {
    return windowsName(wideView(path), out);
}

bool Win32Platform::wideName(const std::u16string& path, std::string& name) {
    return windowsName(std::u16string_view(path), name);
}

bool Win32Platform::wideFileExists(const std::u16string& path) {
    if (path.empty()) return false;
    return GetFileAttributesW(wideChars(path)) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace platform
