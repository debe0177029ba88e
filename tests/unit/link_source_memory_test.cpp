// A link source too large for the memory the program has left is refused,
// like a file that cannot be opened, and never ends the program. In the
// 32-bit Windows program the address space can really run out; the test
// takes nearly all of it before the read.
#include <gtest/gtest.h>

#include <string>

#include "links/source_file.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <vector>

#include "platform/win32/win.h"

namespace {

// Reserves the free address space in ever smaller pieces and gives back the
// last few megabytes, scattered: no large block is left to allocate.
class AddressSpaceHog {
public:
    explicit AddressSpaceHog(int megabytesLeft) {
        for (SIZE_T chunk = SIZE_T(256) << 20; chunk >= (SIZE_T(1) << 20); chunk /= 2)
            while (void* p = VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS)) held_.push_back(p);
        for (int i = 0; i < megabytesLeft && !held_.empty(); ++i) {
            VirtualFree(held_.back(), 0, MEM_RELEASE);
            held_.pop_back();
        }
    }
    ~AddressSpaceHog() {
        for (void* p : held_) VirtualFree(p, 0, MEM_RELEASE);
    }
    AddressSpaceHog(const AddressSpaceHog&) = delete;
    AddressSpaceHog& operator=(const AddressSpaceHog&) = delete;

private:
    std::vector<void*> held_;
};

TEST(LinkSourceMemory, AFileTooLargeForTheMemoryLeftIsRefused) {
    TempDir dir;
    const std::string page = dir.write("big.html", std::string(48u << 20, 'a'));
    LinkSourceText source;
    {
        AddressSpaceHog hog(24);
        EXPECT_FALSE(source.read(page));
    }
    EXPECT_TRUE(source.read(page)) << "with the memory back, the same file is read";
}

}  // namespace
#endif
