// Path joining for the system view's names, in its own separator.
#include "check/system_view.h"

std::string joinPath(const SystemView& system, const std::string& folder, const std::string& relative) {
    std::string out = folder;
    const char sep = system.separator();
    if (!out.empty() && out.back() != sep) out += sep;
    for (char c : relative) out += c == '\\' ? sep : c;
    return out;
}

std::string parentFolder(const SystemView& system, const std::string& path) {
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == system.separator()) trimmed.pop_back();
    const std::size_t at = trimmed.rfind(system.separator());
    return at == std::string::npos ? std::string() : trimmed.substr(0, at + 1);
}

std::string lastName(const SystemView& system, const std::string& path) {
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == system.separator()) trimmed.pop_back();
    const std::size_t at = trimmed.rfind(system.separator());
    return at == std::string::npos ? trimmed : trimmed.substr(at + 1);
}
