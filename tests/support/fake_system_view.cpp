// The test system view: the table registry and the scratch folder's files.
#include "tests/support/fake_system_view.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string FakeSystemView::keyId(RegistryRoot root, RegistryView view, const std::string& key) {
    return std::to_string(static_cast<int>(root)) + "|" + std::to_string(static_cast<int>(view)) + "|" + key;
}

void FakeSystemView::setValue(RegistryRoot root, RegistryView view, const std::string& key, const std::string& name,
                              const std::string& data) {
    keys_[keyId(root, view, key)][name] = data;
}

void FakeSystemView::removeKey(RegistryRoot root, RegistryView view, const std::string& key) {
    const std::string id = keyId(root, view, key);
    for (auto it = keys_.begin(); it != keys_.end();)
        it = it->first == id || it->first.compare(0, id.size() + 1, id + "\\") == 0 ? keys_.erase(it) : std::next(it);
}

bool FakeSystemView::subkeys(RegistryRoot root, RegistryView view, const std::string& key,
                             std::vector<std::string>& names) {
    const std::string prefix = keyId(root, view, key) + "\\";
    std::set<std::string> seen;
    for (const auto& [id, values] : keys_) {
        if (id.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string name = id.substr(prefix.size(), id.find('\\', prefix.size()) - prefix.size());
        if (seen.insert(name).second) names.push_back(name);
    }
    return !seen.empty() || keys_.count(keyId(root, view, key)) > 0;
}

bool FakeSystemView::stringValue(RegistryRoot root, RegistryView view, const std::string& key,
                                 const std::string& name, std::string& data) {
    const auto k = keys_.find(keyId(root, view, key));
    if (k == keys_.end()) return false;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return false;
    data = v->second;
    return true;
}

bool FakeSystemView::keyExists(RegistryRoot root, RegistryView view, const std::string& key) {
    std::vector<std::string> names;
    return subkeys(root, view, key, names);
}

bool FakeSystemView::userFolder(const std::string& name, std::string& path) {
    const auto found = folders.find(name);
    if (found == folders.end()) return false;
    path = found->second;
    return true;
}

char FakeSystemView::separator() const {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool FakeSystemView::isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::u8path(path), ec);
}

bool FakeSystemView::isDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(fs::u8path(path), ec);
}

FileRead FakeSystemView::readFile(const std::string& path, std::size_t limit, std::string& bytes) {
    if (isDirectory(path)) return FileRead::folder;
    if (!isFile(path)) return FileRead::missing;
    std::error_code ec;
    if (fs::file_size(fs::u8path(path), ec) > limit) return FileRead::tooLarge;
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) return FileRead::unreadable;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return FileRead::ok;
}

bool FakeSystemView::sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(fs::u8path(a), fs::u8path(b), ec);
}

bool FakeSystemView::canWriteIn(const std::string& folder) {
    const fs::path probe = fs::u8path(folder) / "~probe.tmp";
    {
        std::ofstream out(probe, std::ios::binary);
        if (!out) return false;
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

bool FakeSystemView::tavrinPath(const std::string& path, std::string& cp932) {
    const auto named = shortNames.find(path);
    if (named != shortNames.end()) {
        cp932 = named->second;
        return true;
    }
    for (char c : path)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    cp932 = path;
    return true;
}
