// Saved-file naming for page downloads and the loader. Only single-byte
// characters are replaced: the trail byte of a double-byte character may
// equal '\' or '|' and belongs to that character.
#include "launch/saved_name.h"

#include <array>

#include "common/capacity.h"
#include "common/path_ops.h"
#include "common/split_path.h"
#include "common/text.h"

namespace {

bool forbiddenInName(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return true;
    for (char f : std::string_view("\\/:*?\"<>|"))
        if (c == static_cast<unsigned char>(f)) return true;
    return false;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever extension
// follows them.
bool isDeviceName(std::string_view stem) {
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view d : plain)
        if (text::equalsNoCase(stem, d)) return true;
    return stem.size() == 4 && (text::startsWithNoCase(stem, "COM") || text::startsWithNoCase(stem, "LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string savedFileName(std::string_view urlPath) {
    const PathParts parts = splitPath(urlPath);
    std::string name = parts.extension.empty() ? "index.html" : parts.name + parts.extension;
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (text::isLeadByte(c) && i + 1 < name.size()) {
            i += 2;
            continue;
        }
        if (forbiddenInName(c)) name[i] = '_';
        ++i;
    }
    const std::size_t dot = text::findByte(name, '.');
    if (isDeviceName(std::string_view(name).substr(0, dot))) name.insert(0, "_");
    return name;
}

std::string withSeparator(const std::string& folder) {
    return endsWithBackslash(folder) ? folder : folder + '\\';
}

std::string fittedName(std::string_view folder, std::string_view name, std::string_view suffix) {
    const std::size_t room = folder.size() < cap::path - 1 ? cap::path - 1 - folder.size() : 0;
    const PathParts parts = splitPath(name);
    // splitPath reads only so much of a path; a bare name is stem and
    // extension, whatever it holds.
    const std::string extension = parts.extension.size() < name.size() ? parts.extension : "";
    std::string_view stem = name.substr(0, name.size() - extension.size());
    if (stem.size() + suffix.size() + extension.size() <= room)
        return std::string(stem) + std::string(suffix) + extension;
    if (suffix.size() + extension.size() < room) {
        const std::size_t keep = text::boundaryAtOrBefore(stem, room - suffix.size() - extension.size());
        // A first character too wide for the one byte left becomes '_'.
        const std::string cutStem = keep > 0 ? std::string(stem.substr(0, keep)) : "_";
        return cutStem + std::string(suffix) + extension;
    }
    return text::cut(std::string(stem) + std::string(suffix) + extension, room + 1);
}

std::string savedFilePath(const std::string& folder, std::string_view urlPath) {
    const std::string base = withSeparator(folder);
    return text::cut(base + fittedName(base, savedFileName(urlPath)), cap::path);
}
