// A link source file in memory: the file buffer, holding its bytes and a
// terminating zero, and the work buffer of three times its size that a
// code converter writes into. The text is read where it lies: in the file
// buffer, unless a converter wrote the text anew into the work buffer,
// which then holds it alone (the file buffer is given back). A page of
// many megabytes is never copied: read as it is, or converted once.
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

    // Reads the file (read sharing) and sets aside the zero-filled work
    // buffer. False when the file cannot be opened, is larger than
    // maxLinkSourceBytes, or memory runs out.
    bool read(const std::string& path);

    // The file's text as read, up to its first zero byte; gone once a
    // converted text is taken.
    const char* original() const { return file_.c_str(); }
    std::size_t originalLength() const { return originalLength_; }
    // The work buffer, workCapacity() bytes, zero-filled, for a converter
    // to write into. Memory of it that nothing writes costs nothing.
    char* work() { return work_.get(); }
    std::size_t workCapacity() const { return workCapacity_; }
    // After a converter was handed work(): the text is what it wrote (cut
    // to the buffer), and the file buffer is given back. A converter that
    // wrote nothing (the buffer's first byte still zero while the file's
    // text is not empty) leaves the text as read. True when the text is
    // now the converted one.
    bool takeConverted();
    // The text, up to its first zero byte.
    std::string_view text() const;

    // Lone CRs of the text become LFs, so that a list written with
    // CR-only line ends still has one URL per line.
    void crToLf();

private:
    struct Free { void operator()(char* p) const { std::free(p); } };
    std::string file_;
    std::size_t originalLength_ = 0;
    std::unique_ptr<char, Free> work_;
    std::size_t workCapacity_ = 0;
    std::size_t workLength_ = 0;  // of the converted text, once taken
    bool inWork_ = false;  // the text lies in the work buffer
};
