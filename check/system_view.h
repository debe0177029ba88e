// What "browsers" and "doctor" read of the system beyond what Tavrin itself
// reads: registry keys and values, the user's application-data folders and
// files named as the system names them. Every text here is UTF-8, as the
// registry, Local State and profiles.ini hold it; what goes into a settings
// line or the tool's output is converted once, at the end (tavrinPath,
// shownText). The Windows build reads the registry; the native one has
// none and takes the folders from the environment, so its tests run on
// fixtures.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

enum class RegistryRoot { currentUser, localMachine, classesRoot };
// The 64-bit and 32-bit views of HKLM\Software on 64-bit Windows; `own` is
// the view of the build itself.
enum class RegistryView { own, sixtyFour, thirtyTwo };

enum class FileRead { ok, missing, folder, tooLarge, unreadable };

class SystemView {
public:
    virtual ~SystemView() = default;

    // False on a system without a registry (the native build).
    virtual bool hasRegistry() const = 0;
    // Names of the subkeys; false when the key cannot be opened.
    virtual bool subkeys(RegistryRoot root, RegistryView view, const std::string& key,
                         std::vector<std::string>& names) = 0;
    // A string value (REG_EXPAND_SZ with its variables expanded); an empty
    // name is the key's default value. False when the key or value is
    // missing or holds no string.
    virtual bool stringValue(RegistryRoot root, RegistryView view, const std::string& key,
                             const std::string& name, std::string& data) = 0;
    virtual bool keyExists(RegistryRoot root, RegistryView view, const std::string& key) = 0;

    // The folder "LOCALAPPDATA" or "APPDATA" names (and the like), ending
    // with a separator; false when there is none.
    virtual bool userFolder(const std::string& name, std::string& path) = 0;
    // The folder of the tool itself, ending with a separator.
    virtual std::string ownFolder() = 0;
    virtual char separator() const = 0;

    // A program named without a folder, looked for as CreateProcess looks
    // for it (".exe" added, the system's search order); false when none.
    virtual bool searchProgram(const std::string& name, std::string& path) = 0;

    virtual bool isFile(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    // Reads a whole file of at most `limit` bytes.
    virtual FileRead readFile(const std::string& path, std::size_t limit, std::string& bytes) = 0;
    // Whether two names reach the same file (case, short names, links).
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // Whether a new file can be made in the folder: one is made and removed.
    virtual bool canWriteIn(const std::string& folder) = 0;

    // The path as Tavrin, a program of code page 932, can name it: as it is
    // when the code page holds every character of it, else its short
    // (8.3) form; false when neither names it.
    virtual bool tavrinPath(const std::string& path, std::string& cp932) = 0;
    // A path Tavrin holds (code page 932) as the system names it.
    virtual std::string systemPath(const std::string& cp932) = 0;
};

// `folder` (ending with a separator or empty) joined with a relative path
// written with backslashes, in the view's separator.
std::string joinPath(const SystemView& system, const std::string& folder, const std::string& relative);
// The folder of a path, with its separator; empty when it has none.
std::string parentFolder(const SystemView& system, const std::string& path);
// The last name of a path (after its last separator).
std::string lastName(const SystemView& system, const std::string& path);
