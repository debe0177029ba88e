// Path-text operations shared by recognition, launch and the settings.
#include "common/path_ops.h"

#include <vector>

#include "common/text.h"

std::string quoteSpaces(std::string_view path) {
    if (text::findByte(path, ' ') == text::npos) return std::string(path);
    return "\"" + std::string(path) + "\"";
}

std::string unquoteSpaces(std::string_view path) {
    if (!path.empty() && path.front() == '"') {
        if (path.size() == 1) return std::string();
        if (path.back() == '"') return std::string(path.substr(1, path.size() - 2));
    }
    return std::string(path);
}

std::string removeBlanks(std::string_view path) {
    std::size_t b = 0, e = path.size();
    while (b < e && path[b] == ' ') ++b;
    while (e > b && path[e - 1] == ' ') --e;
    return std::string(path.substr(b, e - b));
}

bool endsWithBackslash(std::string_view path) {
    return !path.empty() && path.back() == '\\' &&
           text::boundaryAtOrBefore(path, path.size() - 1) == path.size() - 1;
}

std::string withoutTrailingBackslash(std::string_view path) {
    const bool separator = endsWithBackslash(path) || (!path.empty() && path.back() == '/');
    return std::string(separator ? path.substr(0, path.size() - 1) : path);
}

std::string canonicalizePath(std::string_view path) {
    // Split at backslashes that are not trail bytes.
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size();) {
        if (i == path.size() || path[i] == '\\') {
            parts.push_back(path.substr(start, i - start));
            start = i + 1;
            ++i;
            continue;
        }
        i += text::isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
    }
    std::vector<std::string_view> out;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        std::string_view p = parts[k];
        bool last = k + 1 == parts.size();
        if (p == "." ) { if (last) out.push_back(std::string_view()); continue; }
        if (p == "..") {
            // Never climb above a drive or the leading empty root component.
            if (out.size() > 1 || (out.size() == 1 && !out[0].empty() && out[0].back() != ':'))
                out.pop_back();
            if (last) out.push_back(std::string_view());
            continue;
        }
        out.push_back(p);
    }
    std::string result;
    for (std::size_t k = 0; k < out.size(); ++k) {
        if (k) result += '\\';
        result += out[k];
    }
    return result;
}

bool isRelativePath(std::string_view path) {
    if (path.empty()) return true;
    if (path[0] == '\\' || path[0] == '/') return false;
    // A lead byte is never followed by ':' (trail bytes start at 0x40).
    return !(path.size() >= 2 && path[1] == ':');
}

std::string anchoredFolderList(std::string_view list, const std::string& base) {
    std::string out;
    std::size_t from = 0;
    while (from <= list.size()) {
        std::size_t end = text::findByte(list, ';', from);
        if (end == text::npos) end = list.size();
        const std::string item = removeBlanks(list.substr(from, end - from));
        if (!item.empty()) {
            if (!out.empty()) out += ';';
            out += isRelativePath(item) ? base + item : item;
        }
        from = end + 1;
    }
    return out;
}
