// Scratch folders for tests, through the C and C++ standard libraries so
// that the same code serves natively and under Wine.
#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
std::atomic<int> counter{0};
#ifdef _WIN32
constexpr char sep = '\\';
#else
constexpr char sep = '/';
#endif
}  // namespace

TempDir::TempDir() {
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 ("tavrin_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    fs::create_directories(p);
    path_ = p.string();
    if (path_.back() != sep) path_ += sep;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(fs::path(path_), ec);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    std::string p = file(name);
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

std::string TempDir::mkdir(const std::string& name) const {
    std::string p = file(name);
    fs::create_directories(fs::path(p));
    return p;
}
