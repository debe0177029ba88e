// Link cleaning where links come in and go out: recognised input (with the
// URL as given kept beside the clean one), list files, collected links and
// shortcuts, then the dispatch, the menu and the list's rows, where a "!"
// program line gets the URLs as given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/menu_choice.h"
#include "app/open_rows.h"
#include "app/recognize.h"
#include "app/routing.h"
#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/overlong_url.h"
#include "common/url_list.h"
#include "launch/select.h"
#include "links/link_scan.h"
#include "links/shortcut_folder.h"
#include "menu/menu_layout.h"
#include "menu/menu_state.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "template/url_parts.h"
#include "tests/support/fake_list_rows.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string wrappedPdf =
    "https://www.google.co.jp/url?sa=t&url=https%3A%2F%2Fdocs.example%2Fa%2Freport.pdf%3Futm_source%3Dg%26v%3D2&usg=AOv";
const std::string cleanPdf = "https://docs.example/a/report.pdf?v=2";

// The menu takes the next scripted choice.
class ChoosingUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle window, int, int) override {
        ++menus;
        if (choices.empty()) return;
        const int id = choices.front();
        choices.erase(choices.begin());
        carryOutMenuChoice(window, id, 0);
    }
    bool createListWindow(platform::WindowHandle) override { return false; }
    void fillListView(int) override {}
    void closeWindow(platform::WindowHandle) override {}
    std::vector<int> choices;
    int menus = 0;
};

struct Entry {
    std::string url, given, extension, title;
    bool operator==(const Entry& o) const {
        return url == o.url && given == o.given && extension == o.extension && title == o.title;
    }
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << "{" << e.url << " | given " << e.given << " | " << e.extension << " | " << e.title << "}";
}

std::vector<Entry> entries() {
    std::vector<Entry> out;
    for (int i = 0; i < urlList.urlCount; ++i) {
        const UrlEntry& e = urlList.entries[i];
        out.push_back({e.url, e.givenUrl, e.extension, e.title});
    }
    return out;
}

class CleaningRoutes : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
        settings = Settings{};
        settings.pageExtensions[0] = ".html";
        settings.pageExtensionCount = 1;
        addUnwrapOption("", settings.cleaning);
        addStripOption("default", settings.cleaning);
        urlList = UrlList{};
        savedUrlList = SavedUrlList{};
        menuState.choiceShiftFlag = 0;
        runState.listWindowActive = 0;
        programPaths.programFolder = dir.path();
        programPaths.settingsFileName = "Tavrin.ini";
        programPaths.settingsPath = dir.file("Tavrin.ini");
        viewer = dir.write("viewer.exe", "MZ");
        keeper = dir.write("keeper.exe", "MZ");
    }
    void TearDown() override {
        installUi(previousUi);
        installBrowserPort(previousBrowser);
        settings = Settings{};
        clearOverlongUrls();
        menuState.choiceShiftFlag = 0;
    }
    using Starts = std::vector<std::pair<std::string, std::string>>;
    Starts starts() const {
        Starts out;
        for (const auto& s : fake.starts) out.emplace_back(s.file, s.parameters);
        return out;
    }
    // Recognises the command line and dispatches it over `ini`.
    void open(const std::string& ini, const std::string& commandLine, std::vector<int> choices = {}) {
        dir.write("Tavrin.ini", ini);
        ui.choices = std::move(choices);
        recognizeInput(commandLine, 0, 1);
        openWithSettings(nullptr, 0, 0);
    }

    FakePlatform fake;
    ChoosingUi ui;
    UiPort* previousUi = nullptr;
    BrowserPort* previousBrowser = nullptr;
    TempDir dir;
    std::string viewer, keeper;
};

TEST_F(CleaningRoutes, RecognitionKeepsTheUrlAsGiven) {
    const std::string shortcut = dir.write("tracked.url", "[InternetShortcut]\r\nURL=http://s.example/x.html?fbclid=1\r\n");
    struct Case {
        const char* what;
        std::string text;
        std::vector<Entry> want;
    };
    const Case cases[] = {
        {"a redirect link is keyed by its target", wrappedPdf, {{cleanPdf, wrappedPdf, ".pdf", ""}}},
        {"the title stays the title", "\"" + wrappedPdf + "||Report\"", {{cleanPdf, wrappedPdf, ".pdf", "Report"}}},
        {"a clean URL has no URL as given", "http://a.example/p.html?id=1", {{"http://a.example/p.html?id=1", "", ".html", ""}}},
        {"ftp is left alone", "ftp://a.example/f.zip?utm_source=1", {{"ftp://a.example/f.zip?utm_source=1", "", ".zip", ""}}},
        {"a shortcut's URL", "\"" + shortcut + "\"", {{"http://s.example/x.html", "http://s.example/x.html?fbclid=1", ".html", "tracked"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recognizeInput(c.text, 0, 1), 0) << c.what;
        EXPECT_EQ(entries(), c.want) << c.what;
    }
    settings.cleaning = LinkCleaning{};
    recognizeInput(wrappedPdf, 0, 1);
    EXPECT_EQ(entries(), (std::vector<Entry>{{wrappedPdf, "", "blank", ""}})) << "without the options";
}

TEST_F(CleaningRoutes, LongRedirectLinksOpenWhenTheirTargetFits) {
    const std::string target = "https://docs.example/minutes.html";
    const std::string safe = "https://apc01.safelinks.protection.outlook.com/?url=https%3A%2F%2Fdocs.example%2Fminutes.html&data=05%7C02%7C" +
                             std::string(240, 'd') + "&reserved=0";
    ASSERT_GT(safe.size(), 259u);
    ASSERT_LT(safe.size(), 520u);
    recognizeInput(safe, 0, 1);
    EXPECT_EQ(entries(), (std::vector<Entry>{{target, safe, ".html", ""}}));
    EXPECT_EQ(overlongUrls.noteCount, 0);

    const std::string huge = safe + "&x=" + std::string(300, 'y');
    recognizeInput(huge + " http://a.example/", 0, 1);
    EXPECT_EQ(entries(), (std::vector<Entry>{{"http://a.example/", "", "blank", ""}}))
        << "beyond what an entry holds it is too long, as before";
    EXPECT_EQ(overlongUrls.noteCount, 1);

    settings.cleaning = LinkCleaning{};
    recognizeInput(safe, 0, 1);
    EXPECT_EQ(urlList.urlCount, 0);
    EXPECT_EQ(overlongUrls.noteCount, 1) << "without the options it is too long";
}

TEST_F(CleaningRoutes, ListFileLinesAreCleaned) {
    recognizeInput("http://a.example/1.html?id=1&amp;utm_source=x&amp;b=2||One\n"
                   "https://l.facebook.com/l.php?u=http%3A%2F%2Fb.example%2F2.html&amp;h=AT\n",
                   1, 0);
    EXPECT_EQ(entries(), (std::vector<Entry>{
                             {"http://a.example/1.html?id=1&amp;b=2", "http://a.example/1.html?id=1&amp;utm_source=x&amp;b=2", ".html", "One"},
                             {"http://b.example/2.html", "https://l.facebook.com/l.php?u=http%3A%2F%2Fb.example%2F2.html&amp;h=AT", ".html", ""}}));
}

TEST_F(CleaningRoutes, CollectedLinksAndShortcutsAreCleaned) {
    std::string base = "https://www.google.com/search?q=x";
    scanLinks("<a href=\"/url?q=https://r.example/a.pdf&amp;sa=U\">Result</a>"
              "<a href=\"https://r.example/b.html?gclid=7&amp;p=1\">B</a>"
              "<img src=\"https://r.example/c.png?utm_content=i\" alt=\"C\">",
              base, 1);
    EXPECT_EQ(entries(), (std::vector<Entry>{
                             {"https://r.example/a.pdf", "https://www.google.com/url?q=https://r.example/a.pdf&sa=U", ".pdf", "Result"},
                             {"https://r.example/b.html?p=1", "https://r.example/b.html?gclid=7&p=1", ".html", "B"},
                             {"https://r.example/c.png", "https://r.example/c.png?utm_content=i", ".png", "C"}}));

    dir.mkdir("links");
    dir.write("links/one.url", "[InternetShortcut]\r\nURL=http://s.example/?utm_medium=x&k=1\r\n");
    shortcutScan = ShortcutScan{};
    collectShortcuts(nullptr, dir.file("links"));
    ASSERT_EQ(shortcutScan.shortcutCount, 1);
    EXPECT_EQ(urlList.entries[0].url, "http://s.example/?k=1");
    EXPECT_EQ(urlList.entries[0].givenUrl, "http://s.example/?utm_medium=x&k=1");
}

TEST_F(CleaningRoutes, DispatchSeesTheCleanUrlUnlessTheRowAsksForTheGivenOne) {
    struct Case {
        const char* what;
        std::string block;
        Starts want;
    };
    const Case cases[] = {
        {"the [.pdf] program gets the clean URL", "[.pdf]\n" + viewer + "\n%end\n", {{viewer, cleanPdf}}},
        {"every placeholder sees it", "[.pdf]\n" + viewer + "\n>-h %G -f %K -l %L -b %-L\n%end\n",
         {{viewer, "-h docs.example -f report.pdf -l " + cleanPdf + " -b https://docs.example/a/report.pdf"}}},
        {"a '!' program gets the URL as given", "[.pdf]\n!" + viewer + "\n%end\n", {{viewer, wrappedPdf}}},
        {"and so do its sub-commands", "[.pdf]\n ! " + viewer + " | As given\n>-h %G -l %L\n%end\n",
         {{viewer, "-h www.google.co.jp -l " + wrappedPdf}}},
    };
    for (const Case& c : cases) {
        fake.starts.clear();
        open(c.block, wrappedPdf);
        EXPECT_EQ(starts(), c.want) << c.what;
        EXPECT_EQ(urlList.entries[0].url, cleanPdf) << c.what << ": the clean URL is back";
    }
}

TEST_F(CleaningRoutes, TheBrowsersPageIsCleanedToo) {
    dir.write("Tavrin.ini", "[.pdf]\n" + viewer + "\n%end\n");
    fake.bridge.emplace();
    fake.bridge->pages["Browser"] = wrappedPdf;
    settings.browserServices[0] = "Browser";
    settings.browserServiceCount = 1;
    startOptions.browserQueryMode = 1;
    runState.currentTarget.clear();
    startupAction(nullptr, 0, 0);
    startOptions = StartOptions{};
    EXPECT_EQ(starts(), (Starts{{viewer, cleanPdf}}));
    EXPECT_EQ(urlList.entries[0].givenUrl, wrappedPdf);
}

TEST_F(CleaningRoutes, MenuRowsChooseBetweenCleanAndGiven) {
    const std::string ini = "[.pdf]\n" + viewer + "\n!" + keeper + "\n>-k %M\n%end\n";
    const std::string commandLine = wrappedPdf + " http://b.example/b.pdf";
    open(ini, commandLine, {menuIdRowBase + 0});
    open(ini, commandLine, {menuIdRowBase + 2});
    EXPECT_EQ(ui.menus, 2);
    EXPECT_EQ(starts(), (Starts{{viewer, cleanPdf}, {keeper, "-k " + wrappedPdf + " http://b.example/b.pdf"}}));
}

TEST_F(CleaningRoutes, ListRowsOpenedWithAGivenRowGetTheUrlAsGiven) {
    dir.write("Tavrin.ini", "[.pdf]\n!" + keeper + "\n%end\n[.html]\n" + viewer + "\n%end\n");
    recognizeInput(wrappedPdf + " http://a.example/x.html?utm_source=1", 0, 1);
    FakeListRows rows = FakeListRows::of({"+" + cleanPdf, "+http://a.example/x.html"});
    saveUrlList();
    openRows(nullptr, rows, 0, 20);
    EXPECT_EQ(starts(), (Starts{{keeper, wrappedPdf}})) << "the association dispatch opens the first row";
    fake.starts.clear();
    rows.selected = 1;
    saveUrlList();
    openRows(nullptr, rows, 1, 20);
    EXPECT_EQ(starts(), (Starts{{viewer, "http://a.example/x.html"}}));
    EXPECT_EQ(urlList.entries[0].url, cleanPdf) << "the list's entries are back as they were";
    EXPECT_EQ(urlList.entries[0].givenUrl, wrappedPdf);
}

}  // namespace

// A redirect link's target whose host is escaped UTF-8 opens under the host
// block of that host as browsers read it, written as a user writes a host
// given directly: its IDNA form, or its code page bytes.
TEST_F(CleaningRoutes, HostBlocksMatchTheUnwrappedTargetsHost) {
    const std::string ini = "[host:xn--bcher-kva.example]\n" + viewer + "\n%end\n[host:東京.jp]\n" + keeper +
                            "\n%end\n[blank]\nother.exe\n%end\n";
    const struct {
        const char* what;
        std::string link;
        Starts want;
    } cases[] = {
        {"escaped UTF-8", "https://www.google.com/url?q=https%3A%2F%2Fb%C3%BCcher.example%2F",
         {{viewer, "https://xn--bcher-kva.example/"}}},
        {"fullwidth and capitals, as an IME types them",
         "https://www.google.com/url?q=https%3A%2F%2F%EF%BD%82%C3%9C%EF%BD%83%EF%BD%88%EF%BD%85%EF%BD%92.example%2Fa",
         {{viewer, "https://xn--bcher-kva.example/a"}}},
        {"a Japanese host in its code page", "https://www.google.com/url?q=https%3A%2F%2F%E6%9D%B1%E4%BA%AC.jp%2F",
         {{keeper, "https://東京.jp/"}}},
    };
    for (const auto& c : cases) {
        fake.starts.clear();
        open(ini, c.link);
        EXPECT_EQ(starts(), c.want) << c.what;
    }
}
