// A scratch folder for one test, removed afterwards. Paths use the
// platform's separator and end with one.
#pragma once
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }  // ends with a separator
    std::string file(const std::string& name) const { return path_ + name; }
    // Writes bytes exactly as given.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string mkdir(const std::string& name) const;

private:
    std::string path_;
};
