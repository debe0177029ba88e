// Downloads: saved-file names (fitted to long folders), the box for each
// way a page download ends, files that are never replaced, the progress
// window and Cancel, the folder of a "*" or "#" line and the start on the
// saved file, and the loader wait (a failed start, polling for the file,
// the loader's end, an old copy, the time limit, the full saved path).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/url_list.h"
#include "launch/download.h"
#include "launch/loader_download.h"
#include "launch/page_download.h"
#include "launch/saved_name.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::DownloadOutcome;

TEST(SavedFileName, NamesFromUrlPaths) {
    struct Case { std::string path, want; };
    const Case cases[] = {
        {"/dir/page.html", "page.html"},
        {"/a.tar.gz", "a.tar.gz"},
        {"/dir/", "index.html"},
        {"/dir/readme", "index.html"},
        {"", "index.html"},
        // Characters Windows refuses in names; "a:b" would be a stream.
        {"/a:b.html", "a_b.html"},
        {"/x*y?\"<>|.txt", "x_y_____.txt"},
        {"/tab\there\x7f.txt", "tab_here_.txt"},
        // Trail bytes equal to '\' and '|' belong to their characters.
        {"/\x95\x5c\x83\x7c.html", "\x95\x5c\x83\x7c.html"},
        // Device names get a file of their own.
        {"/con.html", "_con.html"},
        {"/LPT1.txt", "_LPT1.txt"},
        {"/Aux.tar.gz", "_Aux.tar.gz"},
        {"/com10.txt", "com10.txt"},
        {"/console.txt", "console.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(savedFileName(c.path), c.want) << c.path;
}

TEST(SavedFileName, PathsInTheFolder) {
    EXPECT_EQ(savedFilePath("C:\\t", "/a.html"), "C:\\t\\a.html");
    EXPECT_EQ(savedFilePath("C:\\t\\", "/a/"), "C:\\t\\index.html");
    // "表" ends in the byte of a backslash, which is no separator.
    EXPECT_EQ(savedFilePath("C:\\\x95\x5c", "/a.html"), "C:\\\x95\x5c\\a.html");
    const std::string deep = "C:\\" + std::string(250, 'd');
    EXPECT_EQ(savedFilePath(deep, "/page.html"), deep + "\\page.");  // 259 characters
}

// A folder text of exactly `length` characters, ending in a backslash.
std::string folderOf(std::size_t length) {
    return "C:\\" + std::string(length - 4, 'd') + "\\";
}

TEST(SavedFileName, LongPathsKeepTheirExtension) {
    struct Case { std::size_t folder; std::string name, suffix, want; };
    const Case cases[] = {
        {20, "page.html", "", "page.html"},
        {250, "report-2008.pdf", "", "repor.pdf"},
        {250, "report-2008.pdf", " (2)", "r (2).pdf"},
        {250, "a.tar.gz", "", "a.tar.gz"},
        // Double-byte characters are never cut in two ("表" twice).
        {250, "\x95\x5c\x95\x5c\x95\x5c.pdf", "", "\x95\x5c\x95\x5c.pdf"},
        {250, "\x95\x5c" "ab.pdf", " (2)", "_ (2).pdf"},
        // No extension: the name is cut like any text.
        {240, std::string(30, 'a'), "", std::string(19, 'a')},
        // A folder that leaves no room for more than the extension.
        {254, "page.html", "", "page."},
    };
    for (const Case& c : cases) {
        const std::string folder = folderOf(c.folder);
        const std::string name = fittedName(folder, c.name, c.suffix);
        EXPECT_EQ(name, c.want) << c.folder << " " << c.name;
        EXPECT_LE(folder.size() + name.size(), 259u) << c.name;
    }
}

// What every download case shares: a fake platform, a scratch folder as
// the temporary folder, a program to open the saved file with.
class DownloadTest : public ::testing::Test {
protected:
    Settings savedSettings = settings;
    UserParameters savedParameters = userParameters;
    void SetUp() override {
        settings = Settings{};
        userParameters = UserParameters{};
        settings.tempFolder = dir.mkdir("temp");
        viewer = dir.write("viewer.exe", "MZ");
        runState.mainWindow = nullptr;
        urlList.urlCount = 1;
    }
    void TearDown() override {
        settings = savedSettings;
        userParameters = savedParameters;
    }
    using Boxes = std::vector<std::pair<std::string, std::string>>;
    Boxes boxes() const {
        Boxes out;
        for (const auto& m : fake.messages) out.emplace_back(m.text, m.caption);
        return out;
    }
    void open(const std::string& url, const std::string& parameters, const std::string& folder,
              int viaLoader = 0) {
        runState.currentTarget = url;
        downloadAndLaunch(viewer, parameters, folder, viaLoader);
    }

    FakePlatform fake;
    TempDir dir;
    std::string viewer;
};

using PageDownload = DownloadTest;

TEST_F(PageDownload, EachOutcomeAndItsBox) {
    const std::string failed = "ダウンロード失敗";
    struct Case { DownloadOutcome outcome; Boxes boxes; };
    const Case cases[] = {
        {DownloadOutcome::ok, {}},
        {DownloadOutcome::initFailed, {{failed, "初期化エラー"}}},
        {DownloadOutcome::openFailed, {{failed, "オープンエラー"}}},
        {DownloadOutcome::httpError, {{failed, "オープンエラー"}}},
        {DownloadOutcome::fileNotCreated, {{failed, "オープンエラー"}}},
        {DownloadOutcome::stalled, {{"タイムアウトにより、すべて終了します。", "URL専用「ネルカモ」"}}},
        {DownloadOutcome::readFailed, {{failed, "読み込みエラー"}}},
        // Cancelled in the progress window: the user's own choice.
        {DownloadOutcome::cancelled, {}},
    };
    const std::string folder = dir.mkdir("pages");
    for (const Case& c : cases) {
        fake.messages.clear();
        fake.downloadOutcome = c.outcome;
        const std::string saved = downloadPage(nullptr, "http://h/dir/page.html?q=1#top", folder);
        const bool ok = c.outcome == DownloadOutcome::ok;
        EXPECT_EQ(saved, ok ? folder + "\\page.html" : std::string(cancelMarker));
        EXPECT_EQ(boxes(), c.boxes);
        EXPECT_EQ(fake.downloads.back().url, "http://h/dir/page.html?q=1#top");
        for (const auto& m : fake.messages) EXPECT_EQ(m.flags, platform::mbOk);
    }
}

TEST_F(PageDownload, OnlyHttpAndHttpsAreFetched) {
    struct Case { std::string url; bool fetched; };
    const Case cases[] = {
        {"ftp://h/a.txt", false}, {"file://C:/x/a.html", false}, {"mailto:a@b.c", false},
        {"not a url", false},     {"https://h/a.html", true},    {"HTTP://h/a.html", true},
        // A path too long to split is refused like any URL that does not.
        {"http://h/" + std::string(1987, 'a') + ".html", false},
    };
    for (const Case& c : cases) {
        fake.messages.clear();
        fake.downloads.clear();
        const std::string saved = downloadPage(nullptr, c.url, settings.tempFolder);
        EXPECT_EQ(fake.downloads.size(), c.fetched ? 1u : 0u) << c.url;
        EXPECT_EQ(saved == cancelMarker, !c.fetched) << c.url;
        const Boxes refused = {{"http以外は、ダウンロードできません！", "注意"}};
        EXPECT_EQ(boxes(), c.fetched ? Boxes() : refused) << c.url;
    }
}

// The answer goes to a ".part" file and takes its name once whole. In the
// user's folder an existing file is never replaced; in the temporary
// folder the older copy is.
TEST_F(PageDownload, ExistingFilesStayOutsideTheTemporaryFolder) {
    const std::string pages = dir.mkdir("pages");
    dir.write("pages/report.pdf", "mine");
    fake.downloadBody = "downloaded";
    const std::string url = "http://h/docs/report.pdf";
    EXPECT_EQ(downloadPage(nullptr, url, pages), pages + "\\report (2).pdf");
    EXPECT_EQ(fake.downloads.back().writtenTo, pages + "\\report.pdf.part");
    EXPECT_EQ(downloadPage(nullptr, url, pages + "\\"), pages + "\\report (3).pdf");
    std::string body;
    ASSERT_TRUE(fake.readFile(pages + "/report.pdf", body, 100, false));
    EXPECT_EQ(body, "mine");
    ASSERT_TRUE(fake.readFile(pages + "/report (3).pdf", body, 100, false));
    EXPECT_EQ(body, "downloaded");

    dir.write("temp/report.pdf", "older copy");
    EXPECT_EQ(downloadPage(nullptr, url, settings.tempFolder), settings.tempFolder + "\\report.pdf");
    ASSERT_TRUE(fake.readFile(settings.tempFolder + "/report.pdf", body, 100, false));
    EXPECT_EQ(body, "downloaded");
    // A folder in the way cannot be replaced, even in the temporary folder.
    dir.mkdir("temp/page.html");
    EXPECT_EQ(downloadPage(nullptr, "http://h/page.html", settings.tempFolder),
              settings.tempFolder + "\\page (2).html");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(PageDownload, PartFilesOfOthersAndFailuresLeaveEverythingAsItWas) {
    const std::string pages = dir.mkdir("pages");
    dir.write("pages/page.html.part", "someone else's");
    EXPECT_EQ(downloadPage(nullptr, "http://h/page.html", pages), pages + "\\page.html");
    EXPECT_EQ(fake.downloads.back().writtenTo, pages + "\\page.html.2.part");
    for (DownloadOutcome failed : {DownloadOutcome::readFailed, DownloadOutcome::stalled,
                                   DownloadOutcome::cancelled}) {
        fake.downloadOutcome = failed;
        EXPECT_EQ(downloadPage(nullptr, "http://h/other.html", pages), cancelMarker);
    }
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(fake.listFolder(pages + "/", entries));
    std::vector<std::string> names;
    for (const auto& e : entries)
        if (e.name != "." && e.name != "..") names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"page.html", "page.html.part"}));
}

// Stands in for the progress window: records what it is shown and asks to
// cancel at the update the test names (0: never).
class ProgressUi final : public UiPort {
public:
    struct Window final : ProgressWindow {
        explicit Window(ProgressUi& ui) : ui(ui) {}
        ~Window() override { ++ui.closed; }
        bool update(const std::string& amount, const std::string& rate, int permille) override {
            ui.shown.push_back(amount + " | " + rate + " | " + std::to_string(permille));
            return static_cast<int>(ui.shown.size()) != ui.cancelAt;
        }
        ProgressUi& ui;
    };
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return false; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override {}
    std::unique_ptr<ProgressWindow> openProgressWindow(platform::WindowHandle,
                                                       const std::string& fileName) override {
        opened.push_back(fileName);
        return std::make_unique<Window>(*this);
    }
    std::vector<std::string> opened, shown;
    int cancelAt = 0, closed = 0;
};

platform::DownloadProgress at(unsigned ms, std::uint64_t bytes, std::uint64_t total = 0) {
    platform::DownloadProgress p;
    p.elapsedMs = ms;
    p.received = bytes;
    p.total = total;
    p.totalKnown = total > 0;
    return p;
}

TEST_F(PageDownload, AProgressWindowAfterASecondWithCancel) {
    ProgressUi ui;
    UiPort* previous = installUi(&ui);
    const std::uint64_t kb = 1024, mb = 1024 * kb;
    // Done within the second: no window.
    fake.downloadProgress = {at(0, 0, 3 * mb), at(500, 50 * kb, 3 * mb), at(900, 90 * kb, 3 * mb)};
    EXPECT_NE(downloadPage(nullptr, "http://h/a.bin", settings.tempFolder), cancelMarker);
    EXPECT_TRUE(ui.opened.empty());
    // Still running after a second: the window, then Cancel at its second
    // update. Nothing is kept, no box is shown.
    fake.downloadProgress = {at(0, 0, 3 * mb), at(500, 50 * kb, 3 * mb), at(1000, 100 * kb, 3 * mb),
                             at(2000, 200 * kb, 3 * mb), at(3000, 300 * kb, 3 * mb)};
    ui.cancelAt = 2;
    EXPECT_EQ(downloadPage(nullptr, "http://h/dir/trickle.bin?x=1", settings.tempFolder), cancelMarker);
    EXPECT_EQ(ui.opened, (std::vector<std::string>{"trickle.bin"}));
    EXPECT_EQ(ui.shown, (std::vector<std::string>{"100 KB / 3.0 MB (3%) | 100 KB/秒 | 32",
                                                  "200 KB / 3.0 MB (6%) | 100 KB/秒 | 65"}));
    EXPECT_EQ(ui.closed, 1);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_FALSE(fake.fileExists(settings.tempFolder + "/trickle.bin"));
    installUi(previous);
}

TEST_F(PageDownload, TimeLimitComesFromTheSettings) {
    const std::pair<int, int> cases[] = {{7, 7}, {30, 30}, {0, 30}, {-2, 30}};
    for (const auto& [setting, limit] : cases) {
        settings.timeoutSeconds = setting;
        downloadPage(nullptr, "http://h/a.html", settings.tempFolder);
        EXPECT_EQ(fake.downloads.back().timeLimit, limit) << setting;
    }
}

TEST_F(DownloadTest, SavedFileOpensWithTheExpandedTemplate) {
    fake.downloadBody = "page body";
    open("http://h/dir/page.html?q=1", "-p \"%P\" -n %N -d %-D", "");
    const std::string saved = settings.tempFolder + "\\page.html";
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, viewer);
    EXPECT_EQ(fake.starts[0].parameters,
              "-p \"" + saved + "\" -n page.html -d " + settings.tempFolder);
    EXPECT_EQ(fake.starts[0].directory, dir.path());
    EXPECT_EQ(runState.currentTarget, saved);
    EXPECT_EQ(urlList.urlCount, 0);
    std::string body;
    ASSERT_TRUE(fake.readFile(saved, body, 100, false));
    EXPECT_EQ(body, "page body");
}

TEST_F(DownloadTest, TheFolderTemplateChoosesTheFolder) {
    settings.parametersOn = 1;
    userParameters.rows[0] = {"%dl%", dir.mkdir("downloads")};
    userParameters.count = 1;
    const std::string own = dir.mkdir("own");
    struct Case { std::string folderTemplate, folder; };
    const Case cases[] = {
        {"", settings.tempFolder},
        {own, own},
        {own + "\\", own},
        {"%dl%", dir.file("downloads")},
        {dir.file("missing"), settings.tempFolder},
        {dir.write("a file", "x"), settings.tempFolder},
    };
    for (const Case& c : cases) {
        fake.downloads.clear();
        open("http://h/a.html", "%P", c.folderTemplate);
        ASSERT_EQ(fake.downloads.size(), 1u) << c.folderTemplate;
        EXPECT_EQ(fake.downloads[0].localPath, c.folder + "\\a.html") << c.folderTemplate;
        std::string saved = fake.downloads[0].localPath;  // the next case saves there anew
        std::replace(saved.begin(), saved.end(), '\\', '/');
        std::remove(saved.c_str());
    }
}

TEST_F(DownloadTest, AFailedDownloadStartsNothing) {
    fake.downloadOutcome = DownloadOutcome::httpError;
    open("http://h/missing.html", "\"%P\"", "");
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(runState.currentTarget, "http://h/missing.html");
    EXPECT_EQ(urlList.urlCount, 1);
    EXPECT_EQ(boxes(), (Boxes{{"ダウンロード失敗", "オープンエラー"}}));
}

// The loader wait, with a scripted loader: what it does at which poll.
class LoaderTest : public DownloadTest {
protected:
    void SetUp() override {
        DownloadTest::SetUp();
        settings.loaderProgram = "C:\\Tools\\loader.exe";
        settings.loaderParameters = "-o %K %L";
        settings.timeoutSeconds = 1;
        saved = settings.tempFolder + "\\page.html";
    }
    void writeSaved() { dir.write("temp/page.html", "loaded"); }
    std::string fetch() { return downloadWithLoader("http://h/dir/page.html", settings.tempFolder); }
    std::string saved;
};

TEST_F(LoaderTest, StartsWithItsTemplateExpandedForTheUrl) {
    settings.loaderParameters = "-o \"%K\" %L %S %M";
    fake.onSleep = [&](int n) { if (n == 2) { writeSaved(); fake.processEnded = true; } };
    EXPECT_EQ(fetch(), saved);
    ASSERT_EQ(fake.processStarts.size(), 1u);
    EXPECT_EQ(fake.processStarts[0].program, "C:\\Tools\\loader.exe");
    EXPECT_EQ(fake.processStarts[0].parameters, "-o \"page.html\" http://h/dir/page.html %S %M");
    EXPECT_EQ(fake.sleeps, (std::vector<int>{60, 60}));
    EXPECT_EQ(fake.processesOpen, 0);
    EXPECT_TRUE(fake.messages.empty());
}

// "%K" names the file the wait looks for, cleaned as every saved name is.
TEST_F(LoaderTest, TheLoaderIsToldTheNameWaitedFor) {
    fake.onSleep = [&](int n) {
        if (n == 1) {
            dir.write("temp/File_Photo.jpg", "loaded");
            fake.processEnded = true;
        }
    };
    EXPECT_EQ(downloadWithLoader("http://h/wiki/File:Photo.jpg", settings.tempFolder),
              settings.tempFolder + "\\File_Photo.jpg");
    ASSERT_EQ(fake.processStarts.size(), 1u);
    EXPECT_EQ(fake.processStarts[0].parameters, "-o File_Photo.jpg http://h/wiki/File:Photo.jpg");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(LoaderTest, EachWayTheWaitEnds) {
    const std::string startFailed = "ダウンロードプログラムを起動できません。\nC:\\Tools\\loader.exe";
    const std::string timedOut = "タイムアウトにより、「ネルカモ」を終了します。";
    struct Case {
        const char* name;
        int pollForFile;
        bool startFails;
        int endsAt, writesAt, hiddenUntil;  // poll numbers; 0: never
        bool ok;
        std::size_t polls;
        Boxes boxes;
    };
    const Case cases[] = {
        {"ends after saving", 0, false, 3, 2, 0, true, 3, {}},
        // The file alone is not enough: the loader must have ended.
        {"saves, still running", 0, false, 9, 2, 0, true, 9, {}},
        {"ends without the file", 0, false, 3, 0, 0, false, 3, {{"ダウンロード失敗", "エラー"}}},
        {"cannot start", 0, true, 0, 0, 0, false, 0, {{startFailed, "エラー"}}},
        {"cannot start, polling", 1, true, 0, 0, 0, false, 0, {{startFailed, "エラー"}}},
        // Polling: hidden while it is written, done when it shows.
        {"hidden, then shown", 1, false, 0, 2, 5, true, 5, {}},
        {"shown at once", 1, false, 0, 4, 0, true, 4, {}},
        // The loader may hand the work on and end before the file is there.
        {"ends early, file later", 1, false, 1, 6, 0, true, 6, {}},
        {"never finishes", 0, false, 0, 0, 0, false, 16, {{timedOut, "URL専用「ネルカモ」"}}},
        {"never shows", 1, false, 0, 3, 99, false, 16, {{timedOut, "URL専用「ネルカモ」"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform f;
        settings.pollForFile = c.pollForFile;
        f.processStartFails = c.startFails;
        f.onSleep = [&](int n) {
            if (n == c.writesAt) {
                writeSaved();
                if (c.hiddenUntil) f.hiddenFiles.push_back(saved);
            }
            if (n == c.hiddenUntil) f.hiddenFiles.clear();
            if (n == c.endsAt) f.processEnded = true;
        };
        const std::string result = fetch();
        EXPECT_EQ(result, c.ok ? saved : std::string(cancelMarker));
        EXPECT_EQ(f.sleeps.size(), c.polls);
        Boxes shown;
        for (const auto& m : f.messages) shown.emplace_back(m.text, m.caption);
        EXPECT_EQ(shown, c.boxes);
        EXPECT_EQ(f.processesOpen, 0);  // the handle is let go on every way out
        std::remove((settings.tempFolder + "/page.html").c_str());
    }
}

// A file of the saved name from before the start is an old copy: it
// counts only once the loader has written it anew, and it is never
// deleted to tell the two apart.
TEST_F(LoaderTest, AnOldCopyIsNotTheDownload) {
    struct Case {
        const char* name;
        int pollForFile;
        int writesAt, endsAt;  // poll numbers; 0: never
        std::string written;
        bool ok;
        std::size_t polls;
    };
    const Case cases[] = {
        {"polling, written at the 5th poll", 1, 5, 9, "loaded", true, 5},
        {"polling, the same size written anew", 1, 4, 9, "OLD COPY", true, 4},
        {"polling, never written", 1, 0, 2, "", false, 16},
        {"the loader ends after writing", 0, 2, 3, "loaded", true, 3},
        {"the loader ends without writing", 0, 0, 3, "", false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform f;
        settings.pollForFile = c.pollForFile;
        dir.write("temp/page.html", "old copy");
        const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        std::filesystem::last_write_time(settings.tempFolder + "/page.html", old);
        f.onSleep = [&](int n) {
            if (n == c.writesAt) dir.write("temp/page.html", c.written);
            if (n == c.endsAt) f.processEnded = true;
        };
        EXPECT_EQ(fetch(), c.ok ? saved : std::string(cancelMarker));
        EXPECT_EQ(f.sleeps.size(), c.polls);
        std::string body;
        ASSERT_TRUE(f.readFile(saved, body, 100, false));
        EXPECT_EQ(body, c.writesAt ? c.written : "old copy");
    }
}

// "%-K" is the full saved path; a name too long for the folder is
// shortened, keeps its extension, and is the very name waited for.
TEST_F(LoaderTest, TheLoaderIsToldTheFullPathOfAFittedName) {
    settings.loaderParameters = "-o \"%-K\" -n %K %L";
    std::string deep = "deep";
    while (dir.path().size() + deep.size() < 230) deep += "/" + std::string(20, 'd');
    const std::string folder = dir.mkdir(deep);
    const std::string name = "a-report-with-a-long-name-" + std::string(60, 'x') + ".pdf";
    const std::string url = "http://h/docs/" + name;
    const std::size_t room = 259 - folder.size() - 1;
    ASSERT_LT(room, name.size());
    const std::string fitted = name.substr(0, room - 4) + ".pdf";
    const std::string path = folder + "\\" + fitted;
    fake.onSleep = [&](int n) {
        if (n == 2) {
            fake.processEnded = true;
            dir.write(deep + "/" + fitted, "loaded");
        }
    };
    EXPECT_EQ(downloadWithLoader(url, folder), path);
    ASSERT_EQ(fake.processStarts.size(), 1u);
    EXPECT_EQ(fake.processStarts[0].parameters, "-o \"" + path + "\" -n " + fitted + " " + url);
    EXPECT_EQ(path.size(), 259u);
}

TEST_F(LoaderTest, PollsFollowTheTimeLimit) {
    const std::pair<int, std::size_t> cases[] = {{1, 16}, {2, 33}, {30, 500}, {0, 500}};
    for (const auto& [seconds, polls] : cases) {
        FakePlatform f;
        settings.timeoutSeconds = seconds;
        fetch();
        EXPECT_EQ(f.sleeps.size(), polls) << seconds;
    }
}

TEST_F(LoaderTest, DownloadAndLaunchOpensWhatTheLoaderSaved) {
    fake.onSleep = [&](int n) { if (n == 1) { writeSaved(); fake.processEnded = true; } };
    open("http://h/dir/page.html", "\"%P\"", "", 1);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].parameters, "\"" + saved + "\"");
    EXPECT_TRUE(fake.downloads.empty());
    EXPECT_EQ(urlList.urlCount, 0);

    fake.starts.clear();
    fake.processStartFails = true;
    urlList.urlCount = 1;
    open("http://h/dir/page.html", "\"%P\"", "", 1);
    EXPECT_TRUE(fake.starts.empty());
    EXPECT_EQ(urlList.urlCount, 1);
}

}  // namespace
