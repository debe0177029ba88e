// How a list file is written over the file of its name, the temporary
// file's name, and the path tests the program look-up builds on.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/path_ops.h"
#include "links/replace_choice.h"

namespace {

TEST(ReplaceChoice, TheWayFollowsWhatTheFileIs) {
    struct Case {
        const char* what;
        ReplaceTarget target;
        ReplaceWay way;
    };
    const Case cases[] = {
        {"no file yet", {false, false, false, 1}, ReplaceWay::create},
        {"an ordinary file", {true, true, false, 1}, ReplaceWay::replace},
        {"a file of two names", {true, true, false, 2}, ReplaceWay::rewriteInPlace},
        {"a read-only file", {true, true, true, 1}, ReplaceWay::refuse},
        {"a read-only file of two names", {true, true, true, 3}, ReplaceWay::refuse},
        {"a folder or a device", {true, false, false, 1}, ReplaceWay::refuse},
    };
    for (const Case& c : cases) EXPECT_EQ(chooseReplaceWay(c.target), c.way) << c.what;
}

TEST(ReplaceChoice, TemporaryNamesAreShortAsciiAndDiffer) {
    std::set<std::string> names;
    for (unsigned seed : {0u, 1u, 0x9E37u, 0xFFFFFu, 0x12345678u}) {
        const std::string name = temporaryFileName(seed);
        EXPECT_EQ(name.size(), 12u) << name;
        EXPECT_EQ(name.substr(0, 3), "~tv");
        EXPECT_EQ(name.substr(8), ".tmp");
        for (char c : name) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(temporaryFileName(0x1A2B3u), "~tv1a2b3.tmp");
}

TEST(PathOps, RelativePathsAndAnchoredLists) {
    struct Case {
        const char* path;
        bool relative;
    };
    const Case cases[] = {
        {"viewer.exe", true},     {"tools\\viewer.exe", true}, {"..\\bin\\x.exe", true},
        {"C:\\Tools\\x.exe", false}, {"c:x.exe", false},       {"\\\\server\\share\\x", false},
        {"\\x.exe", false},       {"/usr/bin/x", false},       {"", true},
        // The trail byte 0x5C of "表" is no separator at the start.
        {"\x95\x5C\\x.exe", true},
    };
    for (const Case& c : cases) EXPECT_EQ(isRelativePath(c.path), c.relative) << c.path;
    EXPECT_EQ(anchoredFolderList("tools; C:\\bin;;\\\\s\\x;sub\\dir", "D:\\Tavrin\\"),
              "D:\\Tavrin\\tools;C:\\bin;\\\\s\\x;D:\\Tavrin\\sub\\dir");
    EXPECT_EQ(anchoredFolderList(";;", "D:\\T\\"), "");
}

}  // namespace
