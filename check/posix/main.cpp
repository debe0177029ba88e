// Entry point of the native check tool (tavrin-check): Tavrin.ini is read
// beside the tool unless --ini names one; words are taken as UTF-8, file
// names are UTF-8 on disk, and output is written as UTF-8 (--raw: code
// page 932 as it is).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/command_words.h"
#include "check/posix/console_text.h"
#include "check/posix/system_view.h"
#include "check/posix/utf8_files.h"
#include "common/unicode.h"
#include "platform/platform.h"

namespace {

std::string ownFolder(const char* argv0) {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(argv0);
    const std::size_t slash = self.rfind('/');
    return utf8NameToCp932(slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1));
}

// Whether every byte of `w` belongs to a well-formed UTF-8 character.
bool isUtf8(const std::string& w) {
    const std::u16string wide = unicode::fromUtf8(w);
    std::string back;
    for (std::size_t i = 0; i < wide.size();) unicode::appendUtf8(back, unicode::next(wide, i));
    return back == w;
}

// A word in UTF-8 is converted as Tavrin converts its wide command line
// (file names included: the file system takes them back to UTF-8); bytes
// that are no UTF-8 stay as they are.
std::string word(const std::string& w) {
    if (!isUtf8(w)) return w;
    return checkWord(unicode::fromUtf8(w));
}

void write(std::FILE* stream, const std::string& text, bool raw) {
    const std::string bytes = raw ? text : cp932ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.push_back(word(argv[i]));
    const auto files = utf8FileNames(platform::nativePlatform());
    // Tavrin's own code reaches the file system through the platform in
    // use: the tool's is the one that speaks UTF-8 to the disk.
    platform::installPlatform(files.get());
    CheckEnvironment environment;
    environment.ownFolder = ownFolder(argv[0]);
    environment.converters = builtinConverter;
    environment.files = files.get();
    const auto system = posixSystemView();
    environment.system = system.get();
    CheckOutput output;
    const int status = runCheck(words, environment, output);
    write(stdout, output.out, output.raw);
    write(stderr, output.err, output.raw);
    platform::installPlatform(nullptr);
    return status;
}
