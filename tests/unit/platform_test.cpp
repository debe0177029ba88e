// The build's own platform (POSIX natively, Win32 under Wine) against the
// promises of the platform interface that the core relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
const std::string sep = "\\";
#else
const std::string sep = "/";
#endif

platform::Platform& real() { return platform::nativePlatform(); }

// "name/" for folders, without "." and "..", sorted.
std::vector<std::string> listed(const std::string& folder) {
    std::vector<platform::FolderEntry> entries;
    EXPECT_TRUE(real().listFolder(folder, entries)) << folder;
    std::vector<std::string> out;
    for (const auto& e : entries) {
        if (e.name != "." && e.name != "..") out.push_back(e.name + (e.isDirectory ? "/" : ""));
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Platform, ReadFileStopsAtTheLimit) {
    TempDir dir;
    struct Row { std::string content; std::size_t maxBytes; std::string want; };
    const Row rows[] = {
        {"abcdef", 3, "abc"},
        {"abcdef", 100, "abcdef"},
        {std::string(70000, 'x') + "y", 70001, std::string(70000, 'x') + "y"},
        {std::string(70000, 'x') + "y", 65537, std::string(65537, 'x')},
        {"", 10, ""},
    };
    for (const Row& row : rows) {
        const std::string path = dir.write("f.txt", row.content);
        std::string out = "stale";
        ASSERT_TRUE(real().readFile(path, out, row.maxBytes, false));
        EXPECT_EQ(out, row.want) << row.maxBytes;
    }
}

// A device or a pipe is no file: a read from one may wait for ever (the
// settings named "/#s=aux", a shortcut named com1.url, held Tavrin up).
TEST(Platform, ReadFileReadsOnlyFiles) {
    TempDir dir;
    std::string out;
#ifdef _WIN32
    for (const char* name : {"aux", "com1", "COM1.url", "nul", "con.ini", "prn.txt"})
        EXPECT_FALSE(real().readFile(dir.file(name), out, 100, false)) << name;
#else
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(real().readFile(pipe, out, 100, false));
    EXPECT_FALSE(real().readFile("/dev/null", out, 100, false));
    EXPECT_FALSE(real().readFile("/dev/zero", out, 100, false));
#endif
    EXPECT_TRUE(real().readFile(dir.write("file.txt", "x"), out, 100, false));
    EXPECT_EQ(out, "x");
}

TEST(Platform, ReadFileCreatesOnlyWhenAsked) {
    TempDir dir;
    std::string out;
    const std::string missing = dir.file("missing.ini");
    EXPECT_FALSE(real().readFile(missing, out, 100, false));
    EXPECT_FALSE(real().fileExists(missing));

    out = "stale";
    EXPECT_TRUE(real().readFile(missing, out, 100, true));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(real().fileExists(missing));
    EXPECT_FALSE(real().isDirectory(missing));

    // A folder in place of a file can never be read, whatever the mode.
    const std::string folder = dir.mkdir("Tavrin.ini");
    EXPECT_FALSE(real().readFile(folder, out, 100, false));
    EXPECT_FALSE(real().readFile(folder, out, 100, true));
    EXPECT_TRUE(real().isDirectory(folder));
}

TEST(Platform, ListsFilesAndFoldersWithDoubleByteNames) {
    TempDir dir;
    const std::string hyoji = "\x95\x5c\x8e\xa6";  // trail byte '\' in the first
    ASSERT_TRUE(real().createDirectory(dir.file(hyoji)));
    std::string unused;
    ASSERT_TRUE(real().readFile(dir.file(hyoji) + sep + "a.txt", unused, 0, true));
    dir.write("b.txt", "b");
    EXPECT_EQ(listed(dir.path()), (std::vector<std::string>{"b.txt", hyoji + "/"}));
    EXPECT_EQ(listed(dir.file(hyoji) + sep), (std::vector<std::string>{"a.txt"}));

    std::vector<platform::FolderEntry> entries;
    EXPECT_FALSE(real().listFolder(dir.file("missing") + sep, entries));
    EXPECT_FALSE(real().createDirectory(dir.file(hyoji)));  // exists already
}

TEST(Platform, DeletesListedFilesAndFoldersWithTheirContents) {
    TempDir dir;
    const std::string hyoji = "\x95\x5c\x8e\xa6";
    ASSERT_TRUE(real().createDirectory(dir.file(hyoji)));
    ASSERT_TRUE(real().createDirectory(dir.file(hyoji) + sep + "sub"));
    std::string unused;
    ASSERT_TRUE(real().readFile(dir.file(hyoji) + sep + "sub" + sep + "c.txt", unused, 0, true));
    const std::string file = dir.write("a.html", "a");
    dir.write("keep.txt", "k");

    std::string list = file + '\0' + dir.file(hyoji) + '\0';
    EXPECT_TRUE(real().deleteItems(nullptr, list));
    EXPECT_EQ(listed(dir.path()), (std::vector<std::string>{"keep.txt"}));
}

TEST(Platform, SearchesTheGivenFoldersInOrder) {
    TempDir dir;
    const std::string first = dir.mkdir("first");
    const std::string second = dir.mkdir("second");
    std::string unused;
    ASSERT_TRUE(real().readFile(second + sep + "tool.exe", unused, 0, true));
    ASSERT_TRUE(real().readFile(first + sep + "both.exe", unused, 0, true));
    ASSERT_TRUE(real().readFile(second + sep + "both.exe", unused, 0, true));

    const std::string folders = first + ";" + second;
    struct Row { std::string name; bool found; std::string want; };
    const Row rows[] = {
        {"tool.exe", true, second + sep + "tool.exe"},
        {"both.exe", true, first + sep + "both.exe"},
        {"absent.exe", false, ""},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_EQ(real().searchPath(&folders, row.name, out), row.found) << row.name;
        if (row.found) {
            EXPECT_EQ(out, row.want);
        }
    }
}

}  // namespace
