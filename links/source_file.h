// A link source file in memory: the file buffer, holding its bytes and a
// terminating zero, and the work buffer of three times its size that the
// code conversion writes into and the scan reads.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

// Larger files are refused rather than read in part: the two buffers of a
// file this size already take four times as much memory.
constexpr std::size_t maxLinkSourceBytes = 64u * 1024u * 1024u;

class LinkSourceText {
public:
    LinkSourceText() = default;
    LinkSourceText(const LinkSourceText&) = delete;
    LinkSourceText& operator=(const LinkSourceText&) = delete;

    // Reads the file (read sharing) and copies its text, up to its first
    // zero byte, into the work buffer. False when the file cannot be
    // opened, is larger than maxLinkSourceBytes, or memory runs out.
    bool read(const std::string& path);

    // The file's text as read, up to its first zero byte.
    const char* original() const { return file_.c_str(); }
    std::size_t originalLength() const { return originalLength_; }
    // The work buffer: workCapacity() bytes, zero-filled before the copy.
    char* work() { return work_.get(); }
    std::size_t workCapacity() const { return workCapacity_; }
    // The work text, up to its first zero byte.
    std::string_view text() const;

    // Lone CRs of the work text become LFs, so that a list written with
    // CR-only line ends still has one URL per line.
    void crToLf();

private:
    struct Free { void operator()(char* p) const { std::free(p); } };
    std::string file_;
    std::size_t originalLength_ = 0;
    std::unique_ptr<char, Free> work_;
    std::size_t workCapacity_ = 0;
};
