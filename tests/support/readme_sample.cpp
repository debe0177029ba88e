// Reads the README's sample settings file.
#include "tests/support/readme_sample.h"

#include <fstream>
#include <iterator>

namespace {

// The README's path in the build machine's file system. Under Wine the
// Unix root is the drive Z:.
std::string readmePath() {
    std::string path = TAVRIN_SOURCE_DIR "/README.md";
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
#endif
    return path;
}

}  // namespace

std::string readmeIniBlockWith(const std::string& marker) {
    std::ifstream in(readmePath(), std::ios::binary);
    if (!in) return std::string();
    const std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A fence at the start of a line: "```ini", alone or followed by a blank
    // and the words that tell a test what to do with the sample.
    const std::string opening = "```ini";
    for (std::size_t start = readme.find(opening); start != std::string::npos;
         start = readme.find(opening, start + 1)) {
        if (start > 0 && readme[start - 1] != '\n') continue;
        const std::size_t lineEnd = readme.find('\n', start);
        if (lineEnd == std::string::npos) return std::string();
        const std::size_t after = start + opening.size();
        if (after != lineEnd && readme[after] != ' ') continue;
        const std::size_t body = lineEnd + 1;
        const std::size_t end = readme.find("\n```", body - 1);
        if (end == std::string::npos) return std::string();
        std::string block = readme.substr(body, end + 1 - body);
        if (block.find(marker) != std::string::npos) return block;
    }
    return std::string();
}

std::string readmeSettingsSample() { return readmeIniBlockWith(""); }
