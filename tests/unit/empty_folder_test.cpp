// Emptying a folder: what is handed to the shell, and what is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/empty_folder.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

// Sorted names, without "." and "..".
std::vector<std::string> names(const std::string& folder) {
    std::vector<platform::FolderEntry> entries;
    std::vector<std::string> out;
    platform::os().listFolder(folder, entries);
    for (const auto& e : entries) {
        if (e.name != "." && e.name != "..") out.push_back(e.name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(EmptyFolder, NothingToDeleteIsAFailure) {
    FakePlatform fake;
    TempDir dir;
    const std::string file = dir.write("a.txt", "x");
    for (const std::string& folder : {dir.mkdir("empty"), file, dir.file("missing")}) {
        EXPECT_EQ(emptyFolder(nullptr, folder), -1) << folder;
    }
    EXPECT_TRUE(fake.deleteRequests.empty());
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"a.txt", "empty"}));
}

TEST(EmptyFolder, DeletesFilesAndSubfoldersInOneRequest) {
    FakePlatform fake;
    TempDir dir;
    const std::string plain = dir.mkdir("plain");
    // Its last byte is the trail byte '\'. Made through the platform, which
    // takes the name as code page 932.
    const std::string kanji = dir.file("kanji\x95\x5c");
    ASSERT_TRUE(platform::os().createDirectory(kanji));
    // The folder as given, and as it must be listed.
    struct Case { std::string folder, base; };
    const Case cases[] = {{plain, plain + "\\"}, {plain + "\\", plain + "\\"}, {kanji, kanji + "\\"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        std::string unused;
        platform::os().createDirectory(c.base + "sub");
        for (const char* f : {"a.html", "b.txt", "sub\\c.txt"}) {
            ASSERT_TRUE(platform::os().readFile(c.base + f, unused, 0, true)) << f;
        }
        fake.deleteRequests.clear();

        EXPECT_EQ(emptyFolder(nullptr, c.folder), 0);
        ASSERT_EQ(fake.deleteRequests.size(), 1u);
        std::string list = fake.deleteRequests[0];
        ASSERT_TRUE(list.size() >= 2 && list.substr(list.size() - 2) == std::string(2, '\0'));
        std::vector<std::string> items;
        for (std::size_t i = 0; list[i] != '\0'; i = list.find('\0', i) + 1) items.push_back(list.c_str() + i);
        std::sort(items.begin(), items.end());
        EXPECT_EQ(items, (std::vector<std::string>{c.base + "a.html", c.base + "b.txt", c.base + "sub"}));
        EXPECT_TRUE(names(c.base).empty());
        EXPECT_TRUE(platform::os().isDirectory(c.folder));
    }
}

}  // namespace
