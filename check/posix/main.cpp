// Entry point of the native check tool (tavrin-check): Tavrin.ini is read
// beside the tool unless --ini names one; words are taken as UTF-8 and
// output is written as UTF-8 (--raw: code page 932 as it is).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "check/check.h"
#include "check/command_words.h"
#include "check/posix/console_text.h"
#include "common/unicode.h"
#include "platform/platform.h"

namespace {

std::string ownFolder(const char* argv0) {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(argv0);
    const std::size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1);
}

// A word that names an existing file or folder (alone, or as the value of
// "--option=") is a path of this system and stays as it is; any other is
// UTF-8 text, converted as Tavrin converts its wide command line.
std::string word(const std::string& w) {
    platform::Platform& os = platform::nativePlatform();
    if (os.fileExists(w)) return w;
    const std::size_t eq = w.find('=');
    if (w.compare(0, 2, "--") == 0 && eq != std::string::npos && os.fileExists(w.substr(eq + 1))) return w;
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
    CheckEnvironment environment;
    environment.ownFolder = ownFolder(argv[0]);
    environment.converters = builtinConverter;
    CheckOutput output;
    const int status = runCheck(words, environment, output);
    write(stdout, output.out, output.raw);
    write(stderr, output.err, output.raw);
    return status;
}
