// Downloads that are whole or nothing: the box for each new way a
// download fails, part files that belong to their handle (a name taken or
// pending deletion, a cancelled transfer still holding its file), the mark
// of the saved file and where it goes, and the redirect rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/download_safety.h"
#include "common/url_list.h"
#include "launch/download.h"
#include "launch/download_boxes.h"
#include "launch/loader_download.h"
#include "launch/page_download.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::DownloadOutcome;
using platform::DownloadResult;
using platform::PartFile;

TEST(DownloadSafety, OnlyHttpsToHttpIsADowngrade) {
    struct Case { const char* from; const char* to; bool downgrade; };
    const Case cases[] = {
        {"https://a/x", "http://a/x", true},   {"HTTPS://a/x", "Http://b/y", true},
        {"https://a/x", "https://b/x", false}, {"http://a/x", "https://a/x", false},
        {"http://a/x", "http://b/x", false},   {"https://a/x", "ftp://a/x", false},
        {"https://a/x", "httpx://a/x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isDowngrade(c.from, c.to), c.downgrade) << c.from << " " << c.to;
}

TEST(DownloadSafety, TheMarkKeepsNoUserInformation) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://u:p@h/x", "http://h/x"},
        {"https://user@h:8080/a?b@c#d@e", "https://h:8080/a?b@c#d@e"},
        {"http://h/a@b", "http://h/a@b"},
        {"http://a@b@h?q", "http://h?q"},
        {"no scheme@all", "no scheme@all"},
    };
    for (const auto& [url, want] : cases) EXPECT_EQ(withoutUserInfo(url), want) << url;
}

TEST(DownloadSafety, TheZoneStreamText) {
    EXPECT_EQ(zoneIdentifierText("http://u:p@h/f.exe", "https://page/list.html"),
              "[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://page/list.html\r\n"
              "HostUrl=http://h/f.exe\r\n");
    // No page, no referrer line; a line break cannot start a key of its own.
    EXPECT_EQ(zoneIdentifierText("http://h/a\r\nZoneId=0", ""),
              "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=http://h/aZoneId=0\r\n");
    EXPECT_EQ(std::string("C:\\d\\f.exe") + zoneStreamSuffix, "C:\\d\\f.exe:Zone.Identifier");
}

class WholeDownload : public ::testing::Test {
protected:
    Settings savedSettings = settings;
    LinkSource savedSource = linkSource;
    void SetUp() override {
        settings = Settings{};
        settings.tempFolder = dir.mkdir("temp");
        pages = dir.mkdir("pages");
        runState.mainWindow = nullptr;
        runState.listWindowActive = 0;
    }
    void TearDown() override {
        settings = savedSettings;
        linkSource = savedSource;
        runState.listWindowActive = 0;
    }
    std::vector<std::string> names() {
        std::vector<platform::FolderEntry> entries;
        fake.listFolder(pages + "/", entries);
        std::vector<std::string> out;
        for (const auto& e : entries)
            if (e.name != "." && e.name != "..") out.push_back(e.name);
        std::sort(out.begin(), out.end());
        return out;
    }
    std::vector<std::pair<std::string, std::string>> boxes() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& m : fake.messages) out.emplace_back(m.caption, m.text);
        return out;
    }

    FakePlatform fake;
    TempDir dir;
    std::string pages;
};

TEST_F(WholeDownload, EachNewFailureSaysWhatHappened) {
    const std::string saved = pages + "\\page.html";
    struct Case { DownloadOutcome outcome; std::string caption, text; };
    const Case cases[] = {
        {DownloadOutcome::cutOff, "読み込みエラー", "ダウンロードが途中で切れました。\n500 / 1000 バイト"},
        {DownloadOutcome::diskFull, "エラー", "ディスクの空きが足りないため、保存できませんでした。\n" + saved},
        {DownloadOutcome::fileTooLarge, "エラー",
         "ファイルが大きすぎて、このドライブには保存できませんでした。\n" + saved},
        {DownloadOutcome::writeDenied, "エラー", "書き込みが拒否されたため、保存できませんでした。\n" + saved},
        {DownloadOutcome::writeFailed, "エラー", "書き込みに失敗したため、保存できませんでした。\n" + saved},
        {DownloadOutcome::insecureRedirect, "注意",
         "https から http へリダイレクトされたため、ダウンロードを中止しました。\n"
         "https://h/a\n\x81\xa8 http://h/b"},
    };
    fake.downloadDetails.received = 500;
    fake.downloadDetails.announced = 1000;
    fake.downloadDetails.redirectFrom = "https://h/a";
    fake.downloadDetails.redirectTo = "http://h/b";
    for (const Case& c : cases) {
        fake.messages.clear();
        fake.downloadOutcome = c.outcome;
        EXPECT_EQ(downloadPage(nullptr, "https://h/page.html", pages), cancelMarker);
        EXPECT_EQ(boxes(), (std::vector<std::pair<std::string, std::string>>{{c.caption, c.text}}));
        EXPECT_TRUE(names().empty()) << c.text;  // nothing kept, not even the part file
    }
    EXPECT_TRUE(fake.marks.empty());
}

// A name in use or on its way out gives the next part name; a failure to
// make any file is the open error, before anything is fetched.
TEST_F(WholeDownload, PartFilesTakeTheNextFreeName) {
    dir.write("pages/page.html.part", "another download's");
    fake.pendingDeletion = {pages + "\\page.html.2.part"};
    EXPECT_EQ(downloadPage(nullptr, "http://h/page.html", pages), pages + "\\page.html");
    EXPECT_EQ(fake.downloads.back().writtenTo, pages + "\\page.html.3.part");
    EXPECT_EQ(names(), (std::vector<std::string>{"page.html", "page.html.part"}));

    fake.downloads.clear();
    EXPECT_EQ(downloadPage(nullptr, "http://h/page.html", dir.file("missing folder")), cancelMarker);
    EXPECT_TRUE(fake.downloads.empty());
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "オープンエラー");
}

// A cancelled transfer that still waits on its server keeps its part file:
// the same download at once takes another part name and succeeds, and the
// first file goes when the transfer lets go of it, not before and not by
// anyone's hand.
TEST_F(WholeDownload, ACancelledTransferKeepsItsPartFileUntilItLetsGo) {
    platform::DownloadProgress running;
    running.elapsedMs = 500;
    fake.downloadProgress = {running};
    // A watch that cancels at once stands in for the Cancel button.
    struct CancelAtOnce final : platform::DownloadWatch {
        bool keepGoing(const platform::DownloadProgress&) override { return false; }
    };
    bool taken = false;
    std::shared_ptr<PartFile> part = fake.createPartFile(pages + "\\a.bin.part", taken);
    ASSERT_TRUE(part);
    CancelAtOnce cancel;
    EXPECT_EQ(fake.downloadUrl("http://h/a.bin", part, 30, cancel).outcome, DownloadOutcome::cancelled);
    part.reset();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.bin.part"}));

    fake.downloadProgress.clear();
    fake.downloadBody = "whole";
    EXPECT_EQ(downloadPage(nullptr, "http://h/a.bin", pages), pages + "\\a.bin");
    EXPECT_EQ(fake.downloads.back().writtenTo, pages + "\\a.bin.2.part");
    EXPECT_EQ(names(), (std::vector<std::string>{"a.bin", "a.bin.part"}));
    fake.lingeringParts.clear();
    EXPECT_EQ(names(), (std::vector<std::string>{"a.bin"}));
}

// Kept under a name, a part file stays; a name in use is refused unless it
// may be replaced; an unkept part file goes with its object.
TEST_F(WholeDownload, APartFileIsKeptOnlyByName) {
    dir.write("pages/taken.txt", "mine");
    dir.mkdir("pages/folder.txt");
    bool taken = false;
    auto part = fake.createPartFile(pages + "\\x.part", taken);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->write("abc", 3), DownloadOutcome::ok);
    EXPECT_EQ(fake.createPartFile(pages + "\\x.part", taken), nullptr);
    EXPECT_TRUE(taken);
    EXPECT_EQ(part->keepAs(pages + "\\taken.txt", false), PartFile::Keep::nameTaken);
    EXPECT_EQ(part->keepAs(pages + "\\folder.txt", true), PartFile::Keep::nameTaken);
    EXPECT_EQ(part->keepAs(pages + "\\taken.txt", true), PartFile::Keep::kept);
    EXPECT_EQ(part->path(), pages + "\\taken.txt");
    part.reset();
    std::string body;
    ASSERT_TRUE(fake.readFile(pages + "\\taken.txt", body, 10, false));
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(names(), (std::vector<std::string>{"folder.txt", "taken.txt"}));

    part = fake.createPartFile(pages + "\\gone.part", taken);
    ASSERT_TRUE(part);
    part.reset();
    EXPECT_EQ(names(), (std::vector<std::string>{"folder.txt", "taken.txt"}));
}

// The saved file is marked with where its bytes came from (after
// redirects) and, from the list window, the page it was a link of.
TEST_F(WholeDownload, TheSavedFileIsMarked) {
    std::string viewer = dir.write("viewer.exe", "MZ");
    struct Case {
        const char* name;
        int listWindow;
        std::string source, finalUrl, host, referrer;
    };
    const Case cases[] = {
        {"alone", 0, "", "", "http://h/f.exe", ""},
        {"after a redirect", 0, "", "https://cdn/f.exe", "https://cdn/f.exe", ""},
        {"from a listed page", 1, "https://site/list.html", "", "http://h/f.exe", "https://site/list.html"},
        {"from a listed file", 1, "C:\\lists\\urls.txt", "", "http://h/f.exe", ""},
        {"page no longer shown", 0, "https://site/list.html", "", "http://h/f.exe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.marks.clear();
        runState.listWindowActive = c.listWindow;
        linkSource.listSource = c.source;
        fake.downloadDetails.finalUrl = c.finalUrl;
        runState.currentTarget = "http://h/f.exe";
        downloadAndLaunch(viewer, "\"%P\"", "", 0);
        ASSERT_EQ(fake.marks.size(), 1u);
        EXPECT_EQ(fake.marks[0].path, settings.tempFolder + "\\f.exe");
        EXPECT_EQ(fake.marks[0].hostUrl, c.host);
        EXPECT_EQ(fake.marks[0].referrerUrl, c.referrer);
    }
    // The loader's file is the loader's business.
    fake.marks.clear();
    settings.loaderProgram = "C:\\Tools\\loader.exe";
    settings.timeoutSeconds = 1;
    fake.onSleep = [&](int) {
        dir.write("temp/g.exe", "loaded");
        fake.processEnded = true;
    };
    runState.currentTarget = "http://h/g.exe";
    downloadAndLaunch(viewer, "\"%P\"", "", 1);
    EXPECT_EQ(fake.starts.size(), std::size(cases) + 1);
    EXPECT_TRUE(fake.marks.empty());
}

}  // namespace
