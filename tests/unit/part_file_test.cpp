// The build's own part files and zone mark (POSIX natively, Win32 under
// Wine): what a download leaves in the folder when it is dropped, kept
// under a name, refused a name in use, and marked.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::PartFile;

platform::Platform& real() { return platform::nativePlatform(); }

std::vector<std::string> names(const TempDir& dir) {
    std::vector<platform::FolderEntry> entries;
    EXPECT_TRUE(real().listFolder(dir.path(), entries));
    std::vector<std::string> out;
    for (const auto& e : entries)
        if (e.name != "." && e.name != "..") out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

std::string contents(const std::string& path) {
    std::string out;
    EXPECT_TRUE(real().readFile(path, out, 1000, false)) << path;
    return out;
}

// Held, a part name is taken for anyone else; dropped unkept, the file
// is gone without being deleted by name.
TEST(PartFile, GoesWithItsObjectUnlessKept) {
    TempDir dir;
    bool taken = true;
    auto part = real().createPartFile(dir.file("a.bin.part"), taken);
    ASSERT_TRUE(part);
    EXPECT_FALSE(taken);
    EXPECT_EQ(part->write("half", 4), platform::DownloadOutcome::ok);
    EXPECT_EQ(real().createPartFile(dir.file("a.bin.part"), taken), nullptr);
    EXPECT_TRUE(taken);
    EXPECT_EQ(names(dir), (std::vector<std::string>{"a.bin.part"}));
    part.reset();
    EXPECT_EQ(names(dir), std::vector<std::string>{});

    // A missing folder is no name in use: nothing to try next.
    EXPECT_EQ(real().createPartFile(dir.file("missing") + "\\b.part", taken), nullptr);
    EXPECT_FALSE(taken);
}

TEST(PartFile, IsKeptOnlyUnderAFreeNameUnlessItMayReplace) {
    TempDir dir;
    dir.write("page.html", "older");
    dir.mkdir("folder.html");
    bool taken = false;
    auto part = real().createPartFile(dir.file("page.html.part"), taken);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->write("whole", 5), platform::DownloadOutcome::ok);

    EXPECT_EQ(part->keepAs(dir.file("page.html"), false), PartFile::Keep::nameTaken);
    EXPECT_EQ(part->keepAs(dir.file("folder.html"), true), PartFile::Keep::nameTaken);
    EXPECT_EQ(contents(dir.file("page.html")), "older");
    EXPECT_EQ(part->keepAs(dir.file("page (2).html"), false), PartFile::Keep::kept);
    EXPECT_EQ(part->path(), dir.file("page (2).html"));
    part.reset();
    EXPECT_EQ(names(dir), (std::vector<std::string>{"folder.html", "page (2).html", "page.html"}));
    EXPECT_EQ(contents(dir.file("page (2).html")), "whole");

    part = real().createPartFile(dir.file("page.html.part"), taken);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->write("newer", 5), platform::DownloadOutcome::ok);
    EXPECT_EQ(part->keepAs(dir.file("page.html"), true), PartFile::Keep::kept);
    part.reset();
    EXPECT_EQ(contents(dir.file("page.html")), "newer");
    EXPECT_EQ(names(dir), (std::vector<std::string>{"folder.html", "page (2).html", "page.html"}));
}

// Where the drive keeps no streams (Wine's), the mark is left out rather
// than written as a file of its own beside the download ("f.exe:Zone.
// Identifier"); where it keeps them, the stream holds the Internet zone.
// A missing file is not made by marking it.
TEST(PartFile, TheMarkLeavesNoFileBesideTheDownload) {
    TempDir dir;
    const std::string file = dir.write("f.exe", "MZ");
    real().markFromInternet(file, "http://u:p@h/f.exe", "https://site/list.html");
    real().markFromInternet(dir.file("gone.exe"), "http://h/gone.exe", "");
    EXPECT_EQ(names(dir), (std::vector<std::string>{"f.exe"}));
    EXPECT_EQ(contents(file), "MZ");
    std::string mark;
    if (real().readFile(file + ":Zone.Identifier", mark, 1000, false)) {
        EXPECT_NE(mark.find("ZoneId=3"), std::string::npos) << mark;
        EXPECT_EQ(mark.find("u:p@"), std::string::npos) << mark;
    }
}

}  // namespace
