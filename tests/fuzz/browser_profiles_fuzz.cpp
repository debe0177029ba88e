// The browser profile readers of the check tool: the input as a Local
// State file and as a profiles.ini. Either reader must end on any input,
// keep within its limits, and give profiles that name something: a
// Local State folder once each and not empty, a profiles.ini profile with
// a path, no line end in a name read from a line; and each name's code
// page 932 form holds no control character.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "check/cp932_text.h"
#include "check/local_state.h"
#include "check/profiles_ini.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

void checkShown(const std::string& name) {
    for (char c : cp932Text(name)) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "a printable name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    resetCore();
    const std::string_view text = inputText(data, size);

    const LocalStateProfiles state = readLocalState(text);
    FUZZ_CHECK(state.profiles.size() <= maxLocalStateProfiles, "at most the profiles kept");
    FUZZ_CHECK(!state.more || state.profiles.size() == maxLocalStateProfiles, "more only when full");
    std::set<std::string> folders;
    for (const ChromiumProfile& p : state.profiles) {
        FUZZ_CHECK(!p.folder.empty() && p.folder.size() <= maxProfileText, "a folder name of bounded length");
        FUZZ_CHECK(p.name.size() <= maxProfileText, "a name of bounded length");
        FUZZ_CHECK(folders.insert(p.folder).second, "each folder once");
        checkShown(p.name);
    }

    const ProfilesIni ini = readProfilesIni(text);
    FUZZ_CHECK(ini.profiles.size() <= maxIniProfiles, "at most the profiles kept");
    for (const FirefoxProfile& p : ini.profiles) {
        FUZZ_CHECK(!p.path.empty(), "a profile with a path");
        for (const std::string* s : {&p.name, &p.path})
            FUZZ_CHECK(s->find_first_of("\r\n") == std::string::npos, "one line's value");
        checkShown(p.name);
    }
    return 0;
}
