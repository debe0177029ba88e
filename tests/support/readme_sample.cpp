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
    const std::string opening = "```ini\n";
    for (std::size_t start = readme.find(opening); start != std::string::npos;
         start = readme.find(opening, start + 1)) {
        const std::size_t body = start + opening.size();
        const std::size_t end = readme.find("\n```", body - 1);
        if (end == std::string::npos) return std::string();
        std::string block = readme.substr(body, end + 1 - body);
        if (block.find(marker) != std::string::npos) return block;
    }
    return std::string();
}

std::string readmeSettingsSample() { return readmeIniBlockWith(""); }
