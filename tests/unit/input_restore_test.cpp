// Input that fails leaves the list as it was, whole: the titles, schemes,
// extensions and kinds of its entries, not what recognition of the failed
// input left in their places. Every way input arrives while the list is
// shown, with every way it can fail.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/routing.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "platform/ui_port.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

namespace {

class ListUi final : public UiPort {
public:
    void showAssociationMenu(platform::WindowHandle, int, int) override {}
    bool createListWindow(platform::WindowHandle) override { return true; }
    void fillListView(int captionOnly) override {
        if (captionOnly == 0) ++rebuilds;
    }
    void closeWindow(platform::WindowHandle) override {}
    int rebuilds = 0;
};

std::string entryText(const UrlEntry& e) {
    return e.url + "|" + e.title + "|" + e.scheme + "|" + e.extension + "|" + std::to_string(e.kind);
}

std::vector<std::string> listed() {
    std::vector<std::string> out;
    for (int i = 0; i < urlList.urlCount; ++i) out.push_back(entryText(urlList.entries[i]));
    return out;
}

class InputRestore : public ::testing::Test {
protected:
    void SetUp() override {
        previousUi = installUi(&ui);
        settings = Settings{};
        settings.schemeEnabled = {1, 1, 1, 1};
        settings.titleSeparator = "||";
        settings.pageExtensions[0] = ".html";
        settings.pageExtensionCount = 1;
        settings.tempFolder = dir.mkdir("temp");
        linkSource = LinkSource{};
        programPaths.programFolder = dir.path();
        runState.listWindowActive = 1;
    }
    void TearDown() override {
        runState.listWindowActive = 0;
        installUi(previousUi);
    }

    // The list shown: an anchor with a title and an image with its alt.
    void show() {
        urlList = UrlList{};
        urlList.urlCount = 2;
        urlList.entries[0] = {"http://h/a.html", "Alpha", "http", ".html", Anchor, ""};
        urlList.entries[1] = {"http://h/b.png", "Beta", "http", ".png", Image, ""};
        ui.rebuilds = 0;
    }

    FakePlatform fake;
    ListUi ui;
    UiPort* previousUi = nullptr;
    TempDir dir;
};

TEST_F(InputRestore, FailedInputsKeepEveryEntryWhole) {
    const std::string held = dir.write("held.html", "<a href=\"http://x/\">x</a>");
    const std::string heldList = dir.write("held.txt", "http://x/1 http://x/2");
    const std::string empty = dir.mkdir("no-shortcuts");
    using Input = std::function<void()>;
    struct Case { const char* what; Input input; };
    const Case cases[] = {
        // A web URL whose page cannot be downloaded.
        {"dropped URL", [] { routeDroppedText(nullptr, "http://other/x.gif"); }},
        {"clipboard URL", [this] { fake.clipboard = "http://other/x.gif"; routeClipboardChange(nullptr); }},
        {"handed-over URL with /#b", [] { receiveHandOff(nullptr, 1, "http://other/x.gif"); }},
        // A file another program holds.
        {"dropped page", [&] { routeDroppedFile(nullptr, held); }},
        {"dropped list", [&] { routeDroppedFile(nullptr, heldList); }},
        {"page dropped as text", [&] { routeDroppedText(nullptr, held); }},
        {"page on the clipboard", [&, this] { fake.clipboard = held; routeClipboardChange(nullptr); }},
        {"handed-over page", [&] { receiveHandOff(nullptr, 0, held); }},
        {"handed-over list", [&] { receiveHandOff(nullptr, 0, heldList); }},
        // A folder without shortcuts.
        {"dropped folder", [&] { routeDroppedFile(nullptr, empty); }},
        {"handed-over folder", [&] { receiveHandOff(nullptr, 0, empty); }},
        // Nothing usable.
        {"clipboard without a URL", [this] { fake.clipboard = "no URL"; routeClipboardChange(nullptr); }},
    };
    fake.heldFiles = {held, heldList};
    fake.downloadOutcome = platform::DownloadOutcome::httpError;
    for (const Case& c : cases) {
        show();
        const std::vector<std::string> before = listed();
        c.input();
        EXPECT_EQ(listed(), before) << c.what;
        EXPECT_EQ(ui.rebuilds, 0) << c.what;
    }
    // The failed downloads were told of.
    EXPECT_EQ(fake.downloads.size(), 3u);
}

}  // namespace
