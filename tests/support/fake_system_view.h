// A system view for tests: a registry held in a table, the user's folders
// and the tool's own folder as given, files on the real disk (a scratch
// folder). Paths of characters outside ASCII have no name Tavrin could
// use unless a short name is given for them.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/system_view.h"

class FakeSystemView final : public SystemView {
public:
    bool registry = true;
    std::map<std::string, std::string> folders;     // "LOCALAPPDATA" -> path with separator
    std::string own;                                // the tool's folder
    std::map<std::string, std::string> shortNames;  // long path -> code page 932 short path

    void setValue(RegistryRoot root, RegistryView view, const std::string& key, const std::string& name,
                  const std::string& data);
    void removeKey(RegistryRoot root, RegistryView view, const std::string& key);

    bool hasRegistry() const override { return registry; }
    bool subkeys(RegistryRoot root, RegistryView view, const std::string& key,
                 std::vector<std::string>& names) override;
    bool stringValue(RegistryRoot root, RegistryView view, const std::string& key, const std::string& name,
                     std::string& data) override;
    bool keyExists(RegistryRoot root, RegistryView view, const std::string& key) override;
    bool userFolder(const std::string& name, std::string& path) override;
    std::string ownFolder() override { return own; }
    char separator() const override;
    bool searchProgram(const std::string&, std::string&) override { return false; }
    bool isFile(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    bool canWriteIn(const std::string& folder) override;
    bool tavrinPath(const std::string& path, std::string& cp932) override;
    std::string systemPath(const std::string& cp932) override { return cp932; }

private:
    // "root|view|key" -> value name -> data
    std::map<std::string, std::map<std::string, std::string>> keys_;
    static std::string keyId(RegistryRoot root, RegistryView view, const std::string& key);
};
