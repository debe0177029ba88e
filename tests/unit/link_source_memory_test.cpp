// A link source too large for the memory the program has left is refused,
// like a file that cannot be opened, and never ends the program. Three
// ways to prove it: the read itself running out (every build, through a
// platform whose read throws as operator new does); a native process with
// its address space capped; and the 32-bit Windows program, whose address
// space can really run out, taking nearly all of it before the read.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "links/source_file.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class OutOfMemoryRead final : public FakePlatform {
public:
    bool readFile(const std::string&, std::string&, std::size_t, bool) override { throw std::bad_alloc(); }
};

TEST(LinkSourceMemory, AReadThatRunsOutOfMemoryRefusesTheFile) {
    TempDir dir;
    const std::string page = dir.write("page.html", "<a href=\"x.html\">x</a>");
    LinkSourceText source;
    {
        OutOfMemoryRead platform;
        EXPECT_FALSE(source.read(page));
    }
    EXPECT_TRUE(source.read(page)) << "with the memory back, the same file is read";
}

}  // namespace

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The sanitizers reserve terabytes of shadow memory, so a capped address
// space is for the plain native build.
TEST(LinkSourceMemory, AFileTooLargeForACappedAddressSpaceIsRefused) {
    TempDir dir;
    const std::string page = dir.write("big.html", std::string(48u << 20, 'a'));
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Room for the program as it stands and the file, not for the three
        // times the file that the converter's buffer needs.
        rlimit cap{};
        std::FILE* statm = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (!statm || std::fscanf(statm, "%lu", &pages) != 1) _exit(3);
        std::fclose(statm);
        cap.rlim_cur = cap.rlim_max = pages * static_cast<unsigned long>(sysconf(_SC_PAGESIZE)) + (96ul << 20);
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(3);
        LinkSourceText source;
        _exit(source.read(page) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the reading process ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the file was read; 3: the cap could not be set";
    LinkSourceText source;
    EXPECT_TRUE(source.read(page)) << "without the cap, the same file is read";
}

}  // namespace
#endif

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
#ifdef _WIN64
    // 128 TB cannot be taken: Wine keeps a protection byte for every page
    // it reserves. The refusal is proven by the cases above and by the
    // 32-bit build.
    GTEST_SKIP() << "runs in the 32-bit build only: a 64-bit address space cannot be used up";
#endif
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
